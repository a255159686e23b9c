<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa_IR">
<context>
    <name>About</name>
    <message>
        <source>About %1</source>
        <translation>درباره %1</translation>
    </message>
    <message>
        <source>%1
Version %2</source>
        <translation>%1
نسخه %2</translation>
    </message>
    <message>
        <source>Configures and tests Veltra ultrasonic level and distance sensors.

Port numbers: port N is the device the link comN in %1 points to; without such a link, the N-th serial device the system lists, USB and ACM adapters first. A device path may be typed instead of a number.

Licence: GNU General Public License, version 3 or later.</source>
        <translation>پیکربندی و آزمایش سنسورهای اولتراسونیک سطح و فاصله Veltra.

شماره پورت: پورت N دستگاهی است که لینک comN در %1 به آن اشاره می‌کند؛ اگر چنین لینکی نباشد، N-امین دستگاه سریالی که سیستم فهرست می‌کند، اول مبدلهای USB و ACM. به‌جای شماره می‌توان مسیر دستگاه را هم وارد کرد.

مجوز: GNU General Public License، نسخه 3 یا بالاتر.</translation>
    </message>
</context>
<context>
    <name>Guide</name>
    <message>
        <source>User Guide — %1</source>
        <translation>راهنمای کاربر — %1</translation>
    </message>
    <message>
        <source>User guide</source>
        <translation>راهنمای کاربر</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;عقب</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;جلو</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;فهرست</translation>
    </message>
    <message>
        <source>Find in the guide</source>
        <translation>جستجو در راهنما</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>&amp;جستجو:</translation>
    </message>
    <message>
        <source>&amp;Next</source>
        <translation>&amp;بعدی</translation>
    </message>
    <message>
        <source>&amp;Previous</source>
        <translation>&amp;قبلی</translation>
    </message>
    <message>
        <source>The user guide is not installed: none of these folders holds it:
%1</source>
        <translation>راهنمای کاربر نصب نشده است: هیچ‌یک از این پوشه‌ها آن را ندارد:
%1</translation>
    </message>
    <message>
        <source>Found on another page.</source>
        <translation>در صفحه‌ی دیگری پیدا شد.</translation>
    </message>
    <message>
        <source>Went on from the other end of the page.</source>
        <translation>جستجو از سر دیگر صفحه ادامه یافت.</translation>
    </message>
    <message>
        <source>Not found in the guide.</source>
        <translation>در راهنما پیدا نشد.</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>Time (UTC)</source>
        <translation>زمان (UTC)</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>ایستگاه</translation>
    </message>
    <message>
        <source>Operator</source>
        <translation>اپراتور</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>پورت</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>مدل</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>نتیجه</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>پیام</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>شناسه</translation>
    </message>
    <message>
        <source>any</source>
        <translation>همه</translation>
    </message>
    <message>
        <source>Since</source>
        <translation>از تاریخ</translation>
    </message>
    <message>
        <source>Until</source>
        <translation>تا تاریخ</translation>
    </message>
    <message>
        <source>A model name or code</source>
        <translation>نام یا کد مدل</translation>
    </message>
    <message>
        <source>The port as entered: 1, /dev/ttyUSB0</source>
        <translation>پورت همان‌طور که وارد شده: 1، /dev/ttyUSB0</translation>
    </message>
    <message>
        <source>A station&apos;s host name</source>
        <translation>نام میزبان ایستگاه</translation>
    </message>
    <message>
        <source>&amp;Certificate…</source>
        <translation>&amp;گواهی…</translation>
    </message>
    <message>
        <source>History — </source>
        <translation>سوابق تنظیم — </translation>
    </message>
    <message>
        <source>Unchecked: any time</source>
        <translation>بدون تیک: هر زمان</translation>
    </message>
    <message>
        <source>Unchecked: any time; checked: up to the end of that day (UTC)</source>
        <translation>بدون تیک: هر زمان؛ با تیک: تا پایان آن روز (UTC)</translation>
    </message>
    <message>
        <source>&amp;Model</source>
        <translation>&amp;مدل</translation>
    </message>
    <message>
        <source>&amp;Port</source>
        <translation>&amp;پورت</translation>
    </message>
    <message>
        <source>S&amp;tation</source>
        <translation>&amp;ایستگاه</translation>
    </message>
    <message>
        <source>&amp;Verdict</source>
        <translation>&amp;نتیجه</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;به‌روزرسانی</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>تنظیم</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>قبل</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>ارسال‌شده</translation>
    </message>
    <message>
        <source>Read back</source>
        <translation>بازخوانی‌شده</translation>
    </message>
    <message>
        <source>&amp;Export CSV…</source>
        <translation>&amp;خروجی CSV…</translation>
    </message>
    <message>
        <source>Export History</source>
        <translation>خروجی سوابق</translation>
    </message>
    <message>
        <source>The record %1 cannot be read: %2</source>
        <translation>سوابق %1 خوانده نمی‌شود: %2</translation>
    </message>
    <message>
        <source>The record cannot be used: %1</source>
        <translation>سوابق قابل استفاده نیست: %1</translation>
    </message>
    <message>
        <source>%1 entry in %2</source>
        <translation>%1 مورد در %2</translation>
    </message>
    <message>
        <source>%1 entries in %2</source>
        <translation>%1 مورد در %2</translation>
    </message>
    <message>
        <source>No entries.</source>
        <translation>موردی ثبت نشده است.</translation>
    </message>
    <message>
        <source>Select an entry.</source>
        <translation>یک مورد را انتخاب کنید.</translation>
    </message>
    <message>
        <source>no port</source>
        <translation>بدون پورت</translation>
    </message>
    <message>
        <source>port </source>
        <translation>پورت </translation>
    </message>
    <message>
        <source>, adapter %1</source>
        <translation>، مبدل %1</translation>
    </message>
    <message>
        <source>Verdict: %1 (exit code %2)</source>
        <translation>نتیجه: %1 (کد خروج %2)</translation>
    </message>
    <message>
        <source>Entry %1: %2, %3 sensor, produced %4 (month/day/year)</source>
        <translation>مورد %1‏: %2، سنسور %3، تاریخ ساخت %4 (ماه/روز/سال)</translation>
    </message>
    <message>
        <source>%1 on %2 by %3, %4, program version %5</source>
        <translation>%1 در %2 توسط %3، %4، نسخه برنامه %5</translation>
    </message>
    <message>
        <source>The sensor does not hold what was sent</source>
        <translation>سنسور مقدار ارسال‌شده را ندارد</translation>
    </message>
    <message>
        <source>Changed by this write</source>
        <translation>با این نوشتن تغییر کرد</translation>
    </message>
    <message>
        <source>The certificate could not be written.</source>
        <translation>گواهی نوشته نشد.</translation>
    </message>
    <message>
        <source>Save Certificate</source>
        <translation>ذخیره گواهی</translation>
    </message>
    <message>
        <source>level</source>
        <translation>سطح</translation>
    </message>
    <message>
        <source>distance</source>
        <translation>فاصله</translation>
    </message>
    <message>
        <source>level window</source>
        <translation>پنجره‌ی سطح</translation>
    </message>
    <message>
        <source>distance window</source>
        <translation>پنجره‌ی فاصله</translation>
    </message>
</context>
<context>
    <name>LinkFailure</name>
    <message>
        <source>The adapter was unplugged or stopped answering.</source>
        <translation>مبدل جدا شد یا دیگر پاسخ نمی‌دهد.</translation>
    </message>
    <message>
        <source>The adapter (%1) was unplugged or stopped answering.</source>
        <translation>مبدل (%1) جدا شد یا دیگر پاسخ نمی‌دهد.</translation>
    </message>
    <message>
        <source>Waiting for the adapter %1 to come back…</source>
        <translation>در انتظار وصل شدن دوباره‌ی مبدل %1…</translation>
    </message>
    <message>
        <source>
Waiting for the adapter %1…</source>
        <translation>
در انتظار مبدل %1…</translation>
    </message>
    <message>
        <source>Another sensor answers on the adapter.</source>
        <translation>سنسور دیگری روی این مبدل پاسخ می‌دهد.</translation>
    </message>
    <message>
        <source>It is model code %1, not %2: nothing was written to it. Choose the port and connect again to work with it.</source>
        <translation>کد مدل آن %1 است، نه %2: چیزی در آن نوشته نشد. برای کار با آن، پورت را انتخاب کنید و دوباره وصل شوید.</translation>
    </message>
    <message>
        <source>The connection to the sensor was lost.</source>
        <translation>ارتباط با سنسور قطع شد.</translation>
    </message>
    <message>
        <source>The connection to the sensor was lost while writing: the write may not have reached the sensor.</source>
        <translation>ارتباط با سنسور هنگام نوشتن قطع شد: ممکن است تنظیمات به سنسور نرسیده باشد.</translation>
    </message>
    <message>
        <source>The connection to the sensor was lost: nothing was written.</source>
        <translation>ارتباط با سنسور قطع شد: چیزی نوشته نشد.</translation>
    </message>
    <message>
        <source>
Check the cable and plug the adapter back in, then press Read: the port is opened again and the sensor&apos;s settings are read.</source>
        <translation>
کابل را بررسی کنید و مبدل را دوباره وصل کنید، سپس «خواندن» را بزنید: پورت دوباره باز و تنظیمات سنسور خوانده می‌شود.</translation>
    </message>
    <message>
        <source>The connection to the sensor was lost, and the port cannot be opened again yet.</source>
        <translation>ارتباط با سنسور قطع شد و پورت هنوز دوباره باز نمی‌شود.</translation>
    </message>
    <message>
        <source>
Check the cable and plug the adapter back in, then press Read again.</source>
        <translation>
کابل را بررسی کنید و مبدل را دوباره وصل کنید، سپس دوباره «خواندن» را بزنید.</translation>
    </message>
    <message>
        <source>The sensor did not answer the read request.</source>
        <translation>سنسور به درخواست خواندن پاسخ نداد.</translation>
    </message>
    <message>
        <source>The sensor&apos;s reply was damaged.</source>
        <translation>پاسخ سنسور خراب بود.</translation>
    </message>
    <message>
        <source>Nothing was changed: every field keeps its value. Press %1 again.</source>
        <translation>چیزی تغییر نکرد: همه‌ی خانه‌ها مقدار خود را نگه داشتند. دوباره «%1» را بزنید.</translation>
    </message>
    <message>
        <source>Received %1 characters:
%2</source>
        <translation>%1 نویسه دریافت شد:
%2</translation>
    </message>
</context>
<context>
    <name>Menus</name>
    <message>
        <source>&amp;View</source>
        <translation>&amp;نما</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;راهنما</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>&amp;درباره برنامه</translation>
    </message>
    <message>
        <source>&amp;Serial Ports</source>
        <translation>&amp;پورت‌های سریال</translation>
    </message>
    <message>
        <source>&amp;History…</source>
        <translation>&amp;سوابق تنظیم…</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;زبان</translation>
    </message>
    <message>
        <source>The program speaks the language chosen from its next start.</source>
        <translation>زبان انتخاب‌شده از اجرای بعدی برنامه به کار می‌رود.</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;فایل</translation>
    </message>
    <message>
        <source>&amp;Save Settings…</source>
        <translation>&amp;ذخیره تنظیمات…</translation>
    </message>
    <message>
        <source>&amp;Open Settings…</source>
        <translation>&amp;باز کردن تنظیمات…</translation>
    </message>
    <message>
        <source>&amp;Compare with File…</source>
        <translation>&amp;مقایسه با فایل…</translation>
    </message>
    <message>
        <source>&amp;Verify</source>
        <translation>&amp;بررسی صحت</translation>
    </message>
    <message>
        <source>Cer&amp;tificate…</source>
        <translation>&amp;گواهی…</translation>
    </message>
    <message>
        <source>&amp;Trend…</source>
        <translation>&amp;نمودار روند…</translation>
    </message>
    <message>
        <source>Traffic &amp;Log…</source>
        <translation>&amp;گزارش ارتباطات…</translation>
    </message>
    <message>
        <source>Save &amp;Diagnostic Report…</source>
        <translation>ذخیره &amp;گزارش عیب‌یابی…</translation>
    </message>
    <message>
        <source>&amp;Record to CSV…</source>
        <translation>&amp;ضبط در فایل CSV…</translation>
    </message>
    <message>
        <source>&amp;Stop Recording</source>
        <translation>&amp;توقف ضبط</translation>
    </message>
    <message>
        <source>&amp;Export Image…</source>
        <translation>&amp;ذخیره تصویر…</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;بستن</translation>
    </message>
    <message>
        <source>&amp;Pause Scrolling</source>
        <translation>&amp;توقف حرکت نمودار</translation>
    </message>
    <message>
        <source>&amp;Live View</source>
        <translation>&amp;نمای زنده</translation>
    </message>
    <message>
        <source>&amp;User Guide</source>
        <translation>&amp;راهنمای کاربر</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>an array</source>
        <translation>یک آرایه</translation>
    </message>
    <message>
        <source>an object</source>
        <translation>یک شیء</translation>
    </message>
    <message>
        <source>The file&apos;s &quot;%1&quot; must be a whole number from 0 to %2, not %3%4.</source>
        <translation>«%1» در فایل باید عدد صحیحی از 0 تا %2 باشد، نه %3%4.</translation>
    </message>
    <message>
        <source>The file&apos;s &quot;%1&quot; must be %2, not %3%4.</source>
        <translation>«%1» در فایل باید %2 باشد، نه %3%4.</translation>
    </message>
    <message>
        <source>The file lacks the model code (&quot;model&quot;: {&quot;code&quot;: ...}).</source>
        <translation>کد مدل در فایل نیست (&quot;model&quot;: {&quot;code&quot;: ...}).</translation>
    </message>
    <message>
        <source>The file&apos;s model code and its &quot;model&quot; setting disagree.</source>
        <translation>کد مدل فایل با تنظیم &quot;model&quot; آن یکی نیست.</translation>
    </message>
    <message>
        <source>The file&apos;s &quot;settings&quot; is not an object.</source>
        <translation>بخش &quot;settings&quot; فایل یک شیء نیست.</translation>
    </message>
    <message>
        <source>The file&apos;s &quot;codes&quot; is not an object.</source>
        <translation>بخش &quot;codes&quot; فایل یک شیء نیست.</translation>
    </message>
    <message>
        <source>The file holds no &quot;settings&quot; object.</source>
        <translation>فایل بخش &quot;settings&quot; ندارد.</translation>
    </message>
    <message>
        <source>The file holds a setting a %1 sensor does not have: &quot;%2&quot;.</source>
        <translation>فایل تنظیمی دارد که سنسور %1 ندارد: «%2».</translation>
    </message>
    <message>
        <source>The file gives the model in &quot;model&quot;: {&quot;code&quot;: ...}, not in &quot;settings&quot;.</source>
        <translation>مدل در فایل باید در &quot;model&quot;: {&quot;code&quot;: ...} بیاید، نه در &quot;settings&quot;.</translation>
    </message>
    <message>
        <source>The file lacks the setting &quot;%1&quot;.</source>
        <translation>تنظیم «%1» در فایل نیست.</translation>
    </message>
    <message>
        <source>The file&apos;s %1 says %2 but its code is %3: edit both, or remove one of them.</source>
        <translation>%1 در فایل %2 است ولی کد آن %3 است: هر دو را اصلاح کنید یا یکی را حذف کنید.</translation>
    </message>
    <message>
        <source>The file is not valid JSON: %1 at offset %2.</source>
        <translation>فایل JSON معتبر نیست: %1 در موقعیت %2.</translation>
    </message>
    <message>
        <source>The file is not a JSON object.</source>
        <translation>فایل یک شیء JSON نیست.</translation>
    </message>
    <message>
        <source>The file names &quot;%1&quot; twice in one object.</source>
        <translation>فایل «%1» را دو بار در یک شیء آورده است.</translation>
    </message>
    <message>
        <source>The file&apos;s format %1 is not one this program reads (1 or 2): it may come from a newer version.</source>
        <translation>قالب %1 فایل را این برنامه نمی‌خواند (1 یا 2): شاید از نسخه‌ی جدیدتری باشد.</translation>
    </message>
    <message>
        <source>The file names no sensor family (&quot;family&quot;: &quot;level&quot; or &quot;distance&quot;).</source>
        <translation>نوع سنسور در فایل نیامده است (&quot;family&quot;: &quot;level&quot; یا &quot;distance&quot;).</translation>
    </message>
    <message>
        <source>The file&apos;s &quot;unit&quot; must be &quot;cm&quot; or &quot;mm&quot;, not %1.</source>
        <translation>&quot;unit&quot; در فایل باید &quot;cm&quot; یا &quot;mm&quot; باشد، نه %1.</translation>
    </message>
    <message>
        <source>The file&apos;s &quot;unit&quot; says %1, but its model and resolution (%2) work in %3.</source>
        <translation>&quot;unit&quot; فایل %1 است، ولی مدل و دقت آن (%2) با %3 کار می‌کند.</translation>
    </message>
    <message>
        <source>The file&apos;s model code %1 is not a %2 sensor&apos;s.</source>
        <translation>کد مدل %1 در فایل مال سنسور %2 نیست.</translation>
    </message>
    <message>
        <source>Cannot read %1: no such file.</source>
        <translation>%1 خوانده نشد: چنین فایلی نیست.</translation>
    </message>
    <message>
        <source>%1 is not a regular file.</source>
        <translation>%1 یک فایل معمولی نیست.</translation>
    </message>
    <message>
        <source>%1 is too large for a settings file (%2 bytes; at most %3).</source>
        <translation>%1 برای فایل تنظیمات بزرگ است (%2 بایت؛ حداکثر %3).</translation>
    </message>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation>%1 خوانده نشد: %2.</translation>
    </message>
    <message>
        <source>%1 is too large for a settings file (at most %2 bytes).</source>
        <translation>%1 برای فایل تنظیمات بزرگ است (حداکثر %2 بایت).</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>%1 نوشته نشد: %2.</translation>
    </message>
    <message>
        <source>a folder</source>
        <translation>یک پوشه</translation>
    </message>
    <message>
        <source>a device</source>
        <translation>یک دستگاه</translation>
    </message>
    <message>
        <source>a pipe</source>
        <translation>یک لوله (pipe)</translation>
    </message>
    <message>
        <source>a socket</source>
        <translation>یک سوکت</translation>
    </message>
    <message>
        <source>not a regular file</source>
        <translation>فایل معمولی نیست</translation>
    </message>
    <message>
        <source>Cannot write %1: it is %2, not a file; nothing was written to it.</source>
        <translation>%1 نوشته نشد: %2 است، نه فایل؛ چیزی در آن نوشته نشد.</translation>
    </message>
    <message>
        <source>%1 cannot be sent: %2 is outside 0 to %3.</source>
        <translation>%1 فرستاده نمی‌شود: %2 بیرون از بازه‌ی 0 تا %3 است.</translation>
    </message>
    <message>
        <source>Switch not in range or empty</source>
        <translation>نقطه‌ی سوئیچ خارج از محدوده است یا وارد نشده</translation>
    </message>
    <message>
        <source> baud rate is empty </source>
        <translation> نرخ باود وارد نشده </translation>
    </message>
    <message>
        <source>slave address not in range or empty</source>
        <translation>آدرس Slave خارج از محدوده است یا وارد نشده</translation>
    </message>
    <message>
        <source>empty not in range or empty</source>
        <translation>فاصله‌ی خالی خارج از محدوده است یا وارد نشده</translation>
    </message>
    <message>
        <source>full not in range or empty</source>
        <translation>فاصله‌ی پر خارج از محدوده است یا وارد نشده</translation>
    </message>
    <message>
        <source>Low DO is not less than Hi Do</source>
        <translation>Low DO کمتر از Hi DO نیست</translation>
    </message>
    <message>
        <source>The sensor did not answer the read request.</source>
        <translation>سنسور به درخواست خواندن پاسخ نداد.</translation>
    </message>
    <message>
        <source>cut short after %1 characters</source>
        <translation>پس از %1 نویسه قطع شد</translation>
    </message>
    <message>
        <source>field %1 reads &quot;%2&quot;</source>
        <translation>خانه‌ی %1 «%2» است</translation>
    </message>
    <message>
        <source>The sensor&apos;s reply to the read request was damaged (%1); nothing was taken from it. It read &quot;%2&quot; (%3 characters).</source>
        <translation>پاسخ سنسور به درخواست خواندن خراب بود (%1)؛ چیزی از آن برداشته نشد. پاسخ «%2» بود (%3 نویسه).</translation>
    </message>
    <message>
        <source>The reply to the read request names no known model (model code &quot;%1&quot;).</source>
        <translation>پاسخ درخواست خواندن مدل شناخته‌شده‌ای ندارد (کد مدل «%1»).</translation>
    </message>
    <message>
        <source>the sensor keeps its own model</source>
        <translation>سنسور مدل خود را نگه می‌دارد</translation>
    </message>
    <message>
        <source>a %1 does not set it</source>
        <translation>%1 آن را تنظیم نمی‌کند</translation>
    </message>
    <message>
        <source>a %1 has no switching outputs</source>
        <translation>%1 خروجی سوئیچ ندارد</translation>
    </message>
    <message>
        <source>a %1 cannot change its resolution</source>
        <translation>%1 نمی‌تواند دقت خود را تغییر دهد</translation>
    </message>
    <message>
        <source>low-do and hi-do must be %1 with hi-do greater than low-do once rounded, not low-do &quot;%2&quot; and hi-do &quot;%3&quot;.</source>
        <translation>low-do و hi-do باید %1 باشند و پس از گرد کردن hi-do از low-do بزرگ‌تر باشد، نه low-do «%2» و hi-do «%3».</translation>
    </message>
    <message>
        <source>%1 must be %2 once rounded, not &quot;%3&quot;.</source>
        <translation>%1 پس از گرد کردن باید %2 باشد، نه «%3».</translation>
    </message>
    <message>
        <source>%1 must be %2, not &quot;%3&quot;.</source>
        <translation>%1 باید %2 باشد، نه «%3».</translation>
    </message>
    <message>
        <source>%1 holds the settings of a %2 sensor; this is a %3 sensor.</source>
        <translation>%1 تنظیمات سنسور %2 را دارد؛ این سنسور %3 است.</translation>
    </message>
    <message>
        <source>%1 holds %2; this %3 works in %4.</source>
        <translation>%1 به %2 است؛ این %3 با %4 کار می‌کند.</translation>
    </message>
    <message>
        <source>%1 Its %2 of %3 %4 has no exact value in %5.</source>
        <translation>%1 مقدار %2 آن، %3 %4، به %5 مقدار دقیقی ندارد.</translation>
    </message>
    <message>
        <source>The file&apos;s %1</source>
        <translation>در فایل: %1</translation>
    </message>
    <message>
        <source>No sensor answered at any baud rate (9600 to 115200).</source>
        <translation>هیچ سنسوری با هیچ نرخ باودی (9600 تا 115200) پاسخ نداد.</translation>
    </message>
    <message>
        <source>No sensor answered on %1 at any baud rate (9600 to 115200).</source>
        <translation>هیچ سنسوری روی %1 با هیچ نرخ باودی (9600 تا 115200) پاسخ نداد.</translation>
    </message>
    <message>
        <source>Bad port or baud rate.</source>
        <translation>پورت یا نرخ باود نادرست است.</translation>
    </message>
    <message>
        <source>%1: sent %2, the sensor holds %3</source>
        <translation>%1: %2 فرستاده شد، سنسور %3 دارد</translation>
    </message>
    <message>
        <source>Found %1 instead of one %2: %3. Choose the port in the port box.</source>
        <translation>به جای یک %2، %1 پیدا شد: %3. پورت را در جعبه‌ی پورت انتخاب کنید.</translation>
    </message>
    <message>
        <source>another adapter</source>
        <translation>مبدل دیگری</translation>
    </message>
    <message>
        <source>%1 adapters</source>
        <translation>%1 مبدل</translation>
    </message>
    <message>
        <source>No serial device found. Type a device path, or link it as com1 in %1</source>
        <translation>هیچ دستگاه سریالی پیدا نشد. مسیر دستگاه را بنویسید، یا آن را با نام com1 در %1 پیوند دهید</translation>
    </message>
    <message>
        <source>The port box must hold a port number or a device path.</source>
        <translation>در جعبه‌ی پورت باید شماره‌ی پورت یا مسیر دستگاه باشد.</translation>
    </message>
    <message>
        <source>No such port%1.</source>
        <translation>چنین پورتی نیست%1.</translation>
    </message>
    <message>
        <source>The port is busy%1: another program is using it.</source>
        <translation>پورت مشغول است%1: برنامه‌ی دیگری از آن استفاده می‌کند.</translation>
    </message>
    <message>
        <source>Permission denied%1: join the dialout group (sudo usermod -aG dialout $USER) and log in again.</source>
        <translation>اجازه‌ی دسترسی نیست%1: به گروه dialout بپیوندید (sudo usermod -aG dialout $USER) و دوباره وارد شوید.</translation>
    </message>
    <message>
        <source>Unsupported line settings &quot;%1&quot;.</source>
        <translation>تنظیمات خط «%1» پشتیبانی نمی‌شود.</translation>
    </message>
    <message>
        <source>The port is not open.</source>
        <translation>پورت باز نیست.</translation>
    </message>
    <message>
        <source>The connection to the sensor was lost%1: the adapter was unplugged or stopped answering.</source>
        <translation>ارتباط با سنسور قطع شد%1: مبدل جدا شد یا دیگر پاسخ نمی‌دهد.</translation>
    </message>
    <message>
        <source>The port is not a serial device.</source>
        <translation>پورت یک دستگاه سریال نیست.</translation>
    </message>
    <message>
        <source>%1 is not a serial device.</source>
        <translation>%1 یک دستگاه سریال نیست.</translation>
    </message>
    <message>
        <source>The adapter %1 is not plugged in.</source>
        <translation>مبدل %1 وصل نیست.</translation>
    </message>
</context>
<context>
    <name>ScreenReader</name>
    <message>
        <source>Baud rate found</source>
        <translation>نرخ باود پیدا شده</translation>
    </message>
    <message>
        <source>Com port</source>
        <translation>پورت COM</translation>
    </message>
    <message>
        <source>Set com port: find the sensor</source>
        <translation>تنظیم پورت COM: یافتن سنسور</translation>
    </message>
    <message>
        <source>Baud rate</source>
        <translation>نرخ باود</translation>
    </message>
    <message>
        <source>Slave address, 1 to 247</source>
        <translation>آدرس Slave، ۱ تا ۲۴۷</translation>
    </message>
    <message>
        <source>OGR</source>
        <translation>OGR</translation>
    </message>
    <message>
        <source>OMB</source>
        <translation>OMB</translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation>دقت</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>مدل</translation>
    </message>
    <message>
        <source>Block distance (BD)</source>
        <translation>فاصله‌ی کور (BD)</translation>
    </message>
    <message>
        <source>Empty distance</source>
        <translation>فاصله‌ی خالی</translation>
    </message>
    <message>
        <source>Full distance</source>
        <translation>فاصله‌ی پر</translation>
    </message>
    <message>
        <source>Low DO</source>
        <translation>Low DO</translation>
    </message>
    <message>
        <source>Low DO, not used by this model</source>
        <translation>Low DO، در این مدل به کار نمی‌رود</translation>
    </message>
    <message>
        <source>Hi DO</source>
        <translation>Hi DO</translation>
    </message>
    <message>
        <source>Hi DO, not used by this model</source>
        <translation>Hi DO، در این مدل به کار نمی‌رود</translation>
    </message>
    <message>
        <source>RUN: put the sensor into its run state</source>
        <translation>RUN: سنسور را در وضعیت کار قرار بده</translation>
    </message>
    <message>
        <source>Read settings</source>
        <translation>خواندن تنظیمات</translation>
    </message>
    <message>
        <source>Write settings</source>
        <translation>نوشتن تنظیمات</translation>
    </message>
    <message>
        <source>Get level</source>
        <translation>خواندن سطح</translation>
    </message>
    <message>
        <source>Tank level</source>
        <translation>سطح مخزن</translation>
    </message>
    <message>
        <source>Current, mA</source>
        <translation>جریان، mA</translation>
    </message>
    <message>
        <source>Current, not given by this model</source>
        <translation>جریان، این مدل نمی‌دهد</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>فاصله</translation>
    </message>
    <message>
        <source>Temperature, degrees Celsius</source>
        <translation>دما، درجه‌ی سلسیوس</translation>
    </message>
    <message>
        <source>Switch point, cm</source>
        <translation>نقطه‌ی سوئیچ، cm</translation>
    </message>
    <message>
        <source>Block distance</source>
        <translation>فاصله‌ی کور</translation>
    </message>
    <message>
        <source>Get distance</source>
        <translation>خواندن فاصله</translation>
    </message>
    <message>
        <source>Distance, cm</source>
        <translation>فاصله، cm</translation>
    </message>
    <message>
        <source>Last reply</source>
        <translation>آخرین پاسخ</translation>
    </message>
</context>
<context>
    <name>SerialPorts</name>
    <message>
        <source>serial %1</source>
        <translation>سریال %1</translation>
    </message>
    <message>
        <source>Serial Ports</source>
        <translation>پورت‌های سریال</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>پورت</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>دستگاه</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>توضیحات</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>سازنده</translation>
    </message>
    <message>
        <source>USB id</source>
        <translation>شناسه USB</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>شماره سریال</translation>
    </message>
    <message>
        <source>No serial port is known to the system.</source>
        <translation>سیستم هیچ پورت سریالی نمی‌شناسد.</translation>
    </message>
    <message>
        <source>The port numbers and what stands behind them now.</source>
        <translation>شماره‌های پورت و دستگاهی که اکنون پشت هر کدام است.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Baud code</source>
        <translation>کد نرخ باود</translation>
    </message>
    <message>
        <source>Slave address</source>
        <translation>آدرس Slave</translation>
    </message>
    <message>
        <source>OGR code</source>
        <translation>کد OGR</translation>
    </message>
    <message>
        <source>Date (month)</source>
        <translation>تاریخ (ماه)</translation>
    </message>
    <message>
        <source>Date (day)</source>
        <translation>تاریخ (روز)</translation>
    </message>
    <message>
        <source>Date (year)</source>
        <translation>تاریخ (سال)</translation>
    </message>
    <message>
        <source>Model code</source>
        <translation>کد مدل</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>خالی</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>پر</translation>
    </message>
    <message>
        <source>Low DO</source>
        <translation>Low DO</translation>
    </message>
    <message>
        <source>Switch</source>
        <translation>سوئیچ</translation>
    </message>
    <message>
        <source>Hi DO</source>
        <translation>Hi DO</translation>
    </message>
    <message>
        <source>OMB code</source>
        <translation>کد OMB</translation>
    </message>
    <message>
        <source>Resolution code</source>
        <translation>کد دقت</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Sensor settings (*.json);;All files (*)</source>
        <translation>تنظیمات سنسور (*.json);;همه فایل‌ها (*)</translation>
    </message>
    <message>
        <source>Save Settings</source>
        <translation>ذخیره تنظیمات</translation>
    </message>
    <message>
        <source>The settings could not be saved to %1.</source>
        <translation>تنظیمات در %1 ذخیره نشد.</translation>
    </message>
    <message>
        <source>It holds the settings of a %1 sensor; this window is for a %2 sensor.</source>
        <translation>این فایل تنظیمات یک سنسور %1 است؛ این پنجره برای سنسور %2 است.</translation>
    </message>
    <message>
        <source>%1 cannot be used: nothing was changed.</source>
        <translation>از %1 نمی‌توان استفاده کرد: چیزی تغییر نکرد.</translation>
    </message>
    <message>
        <source>Compare with %1</source>
        <translation>مقایسه با %1</translation>
    </message>
    <message>
        <source>The marked settings differ.</source>
        <translation>تنظیمات علامت‌دار متفاوت‌اند.</translation>
    </message>
    <message>
        <source>The sensor holds the file&apos;s settings.</source>
        <translation>سنسور همان تنظیمات فایل را دارد.</translation>
    </message>
    <message>
        <source> The file is of another model; the sensor keeps its own.</source>
        <translation> فایل مربوط به مدل دیگری است؛ سنسور مدل خودش را نگه می‌دارد.</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>تنظیم</translation>
    </message>
    <message>
        <source>In the sensor (read %1)</source>
        <translation>در سنسور (خوانده‌شده ساعت %1)</translation>
    </message>
    <message>
        <source>In the file</source>
        <translation>در فایل</translation>
    </message>
    <message>
        <source>%1 (not used: %2)</source>
        <translation>%1 (استفاده نشد: %2)</translation>
    </message>
    <message>
        <source>Convert converts the file&apos;s values exactly (x10, or /10 when whole).</source>
        <translation>«تبدیل» مقادیر فایل را دقیق تبدیل می‌کند (x10، یا /10 وقتی نتیجه عدد صحیح باشد).</translation>
    </message>
    <message>
        <source>Convert</source>
        <translation>تبدیل</translation>
    </message>
    <message>
        <source>Open Settings</source>
        <translation>باز کردن تنظیمات</translation>
    </message>
    <message>
        <source>Compare with File</source>
        <translation>مقایسه با فایل</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <translation>چیزی تغییر نکرد.</translation>
    </message>
    <message>
        <source>%1 (%2): not taken, no field of this window shows it; the sensor keeps %3.</source>
        <translation>%1 (%2): اعمال نشد، هیچ فیلدی در این پنجره آن را نشان نمی‌دهد؛ سنسور %3 را نگه می‌دارد.</translation>
    </message>
    <message>
        <source>The stored date (%1): not taken, no field of this window shows it; the sensor keeps %2.</source>
        <translation>تاریخ ذخیره‌شده (%1): اعمال نشد، هیچ فیلدی در این پنجره آن را نشان نمی‌دهد؛ سنسور %2 را نگه می‌دارد.</translation>
    </message>
    <message>
        <source>In the sensor (last Read): %1
In %2: %3</source>
        <translation>در سنسور (آخرین خواندن): %1
در %2: %3</translation>
    </message>
    <message>
        <source>The file&apos;s distances were converted from %1 to %2.</source>
        <translation>فاصله‌های فایل از %1 به %2 تبدیل شد.</translation>
    </message>
    <message>
        <source>%1: some of the file&apos;s settings are not used.</source>
        <translation>%1: برخی از تنظیمات فایل استفاده نمی‌شوند.</translation>
    </message>
    <message>
        <source>Nothing was compared.</source>
        <translation>چیزی مقایسه نشد.</translation>
    </message>
    <message>
        <source>The port is in use: the sensor cannot be read now. %1</source>
        <translation>پورت در حال استفاده است: اکنون نمی‌توان سنسور را خواند. %1</translation>
    </message>
    <message>
        <source>Stop the trend, or wait until the sensor stops sending, and try again.</source>
        <translation>نمودار روند را متوقف کنید، یا صبر کنید تا ارسال سنسور تمام شود، و دوباره امتحان کنید.</translation>
    </message>
    <message>
        <source>The sensor on the port is a %1 sensor (%2); this window is for a %3 sensor. %4</source>
        <translation>سنسور روی پورت یک سنسور %1 است (%2)؛ این پنجره برای سنسور %3 است. %4</translation>
    </message>
    <message>
        <source>The sensor&apos;s settings could not be read. %1</source>
        <translation>تنظیمات سنسور خوانده نشد. %1</translation>
    </message>
    <message>
        <source>It sent no whole settings block.</source>
        <translation>سنسور بلوک کامل تنظیمات را نفرستاد.</translation>
    </message>
    <message>
        <source>%1 cannot be saved: %2 is outside 0 to %3.</source>
        <translation>%1 ذخیره نمی‌شود: %2 خارج از بازه 0 تا %3 است.</translation>
    </message>
    <message>
        <source>The write was not recorded: %1</source>
        <translation>این نوشتن در سوابق ثبت نشد: %1</translation>
    </message>
    <message>
        <source>Nothing was verified.</source>
        <translation>بررسی صحت انجام نشد.</translation>
    </message>
    <message>
        <source>Verified: the sensor holds what was written at %1.</source>
        <translation>صحت تأیید شد: سنسور همان مقادیری را دارد که ساعت %1 نوشته شد.</translation>
    </message>
    <message>
        <source>The sensor does not hold what was written at %1.</source>
        <translation>سنسور مقادیری را که ساعت %1 نوشته شد ندارد.</translation>
    </message>
</context>
<context>
    <name>TrafficLog</name>
    <message>
        <source>Time</source>
        <translation>زمان</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>پورت</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>خط</translation>
    </message>
    <message>
        <source>Command</source>
        <translation>فرمان</translation>
    </message>
    <message>
        <source>Request (hex)</source>
        <translation>درخواست (hex)</translation>
    </message>
    <message>
        <source>Request</source>
        <translation>درخواست</translation>
    </message>
    <message>
        <source>Reply (hex)</source>
        <translation>پاسخ (hex)</translation>
    </message>
    <message>
        <source>Reply</source>
        <translation>پاسخ</translation>
    </message>
    <message>
        <source>Wait (ms)</source>
        <translation>انتظار (ms)</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>نتیجه</translation>
    </message>
    <message>
        <source>Traffic Log</source>
        <translation>گزارش ارتباطات</translation>
    </message>
    <message>
        <source>All commands</source>
        <translation>همه فرمان‌ها</translation>
    </message>
    <message>
        <source>All outcomes</source>
        <translation>همه نتیجه‌ها</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;کپی</translation>
    </message>
    <message>
        <source>Copy the selected rows (Ctrl+C)</source>
        <translation>کپی ردیف‌های انتخاب‌شده (Ctrl+C)</translation>
    </message>
    <message>
        <source>&amp;Save As…</source>
        <translation>&amp;ذخیره با نام…</translation>
    </message>
    <message>
        <source>Save Traffic Log</source>
        <translation>ذخیره گزارش ارتباطات</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;پاک کردن</translation>
    </message>
    <message>
        <source>Show</source>
        <translation>نمایش</translation>
    </message>
    <message>
        <source>Clear the traffic log window?</source>
        <translation>پنجره گزارش ارتباطات پاک شود؟</translation>
    </message>
    <message>
        <source>The window starts again from the next exchange. A diagnostic report still holds every exchange.</source>
        <translation>پنجره از ارتباط بعدی دوباره شروع می‌کند. گزارش عیب‌یابی همچنان همه ارتباطات را دارد.</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>پاک کردن</translation>
    </message>
    <message>
        <source>Save Diagnostic Report</source>
        <translation>ذخیره گزارش عیب‌یابی</translation>
    </message>
    <message>
        <source>connect</source>
        <translation>اتصال</translation>
    </message>
    <message>
        <source>read settings</source>
        <translation>خواندن تنظیمات</translation>
    </message>
    <message>
        <source>measure</source>
        <translation>اندازه‌گیری</translation>
    </message>
    <message>
        <source>write settings</source>
        <translation>نوشتن تنظیمات</translation>
    </message>
    <message>
        <source>run</source>
        <translation>اجرا</translation>
    </message>
    <message>
        <source>reopen</source>
        <translation>باز کردن دوباره</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>نامشخص</translation>
    </message>
    <message>
        <source>answered</source>
        <translation>پاسخ داد</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>پاسخ خراب</translation>
    </message>
    <message>
        <source>no reply</source>
        <translation>بی‌پاسخ</translation>
    </message>
    <message>
        <source>sent</source>
        <translation>ارسال شد</translation>
    </message>
    <message>
        <source>lost device</source>
        <translation>دستگاه قطع شد</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>رد شد</translation>
    </message>
</context>
<context>
    <name>Trend</name>
    <message>
        <source>Distance</source>
        <translation>فاصله</translation>
    </message>
    <message>
        <source>Level</source>
        <translation>سطح</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>دما</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>جریان</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>زمان</translation>
    </message>
    <message>
        <source>Distance, level</source>
        <translation>فاصله، سطح</translation>
    </message>
    <message>
        <source>Temperature (°C)</source>
        <translation>دما (°C)</translation>
    </message>
    <message>
        <source>Current (mA)</source>
        <translation>جریان (mA)</translation>
    </message>
    <message>
        <source>Trend — </source>
        <translation>نمودار روند — </translation>
    </message>
    <message>
        <source>Measure every</source>
        <translation>اندازه‌گیری هر</translation>
    </message>
    <message>
        <source>Live view shows</source>
        <translation>نمای زنده نشان می‌دهد</translation>
    </message>
    <message>
        <source>Live View</source>
        <translation>نمای زنده</translation>
    </message>
    <message>
        <source>Latest</source>
        <translation>آخرین مقدار</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>کمینه</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>بیشینه</translation>
    </message>
    <message>
        <source>Mean</source>
        <translation>میانگین</translation>
    </message>
    <message>
        <source>Of the points shown in the chart</source>
        <translation>از نقاط نمایش‌داده‌شده در نمودار</translation>
    </message>
    <message>
        <source>Points shown</source>
        <translation>نقاط نمایش‌داده‌شده</translation>
    </message>
    <message>
        <source>Stopped while waiting for the adapter.</source>
        <translation>هنگام انتظار برای مبدل متوقف شد.</translation>
    </message>
    <message>
        <source>Stopping…</source>
        <translation>در حال توقف…</translation>
    </message>
    <message>
        <source>damaged reply</source>
        <translation>پاسخ خراب</translation>
    </message>
    <message>
        <source>no answer</source>
        <translation>بدون پاسخ</translation>
    </message>
    <message>
        <source>Adapter lost at %1, waiting…</source>
        <translation>مبدل در %1 قطع شد، در انتظار…</translation>
    </message>
    <message>
        <source>Measuring stopped: </source>
        <translation>اندازه‌گیری متوقف شد: </translation>
    </message>
    <message>
        <source>Good exchanges: %1    Failed: %2</source>
        <translation>ارتباط موفق: %1    ناموفق: %2</translation>
    </message>
    <message>
        <source>    Adapter away: %1 s</source>
        <translation>    قطع مبدل: %1 ثانیه</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>توقف</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>شروع</translation>
    </message>
    <message>
        <source>Measuring; recording to </source>
        <translation>در حال اندازه‌گیری؛ ضبط در </translation>
    </message>
    <message>
        <source>Measuring.</source>
        <translation>در حال اندازه‌گیری.</translation>
    </message>
    <message>
        <source>Stopped.</source>
        <translation>متوقف شد.</translation>
    </message>
    <message>
        <source>Recording to </source>
        <translation>ضبط در </translation>
    </message>
    <message>
        <source>● Recording to %1 (%2 rows)</source>
        <translation>● ضبط در %1 (%2 ردیف)</translation>
    </message>
    <message>
        <source>Recorded %1 rows to %2.</source>
        <translation>%1 ردیف در %2 ضبط شد.</translation>
    </message>
    <message>
        <source>The chart goes on; the rows written so far are kept.</source>
        <translation>نمودار ادامه می‌یابد؛ ردیف‌های نوشته‌شده تا اینجا حفظ می‌شوند.</translation>
    </message>
    <message>
        <source>%1 cannot be written: the chart could not be made into a picture.</source>
        <translation>%1 نوشته نمی‌شود: از نمودار تصویر ساخته نشد.</translation>
    </message>
    <message>
        <source>Chart saved to </source>
        <translation>نمودار ذخیره شد در </translation>
    </message>
    <message>
        <source>Record to CSV</source>
        <translation>ضبط در فایل CSV</translation>
    </message>
    <message>
        <source>CSV files (*.csv);;All files (*)</source>
        <translation>فایل‌های CSV (*.csv);;همه فایل‌ها (*)</translation>
    </message>
    <message>
        <source>Export Image</source>
        <translation>ذخیره تصویر</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>تصاویر PNG (*.png)</translation>
    </message>
    <message>
        <source>Close the trend?</source>
        <translation>نمودار روند بسته شود؟</translation>
    </message>
    <message>
        <source>The chart of %1 exchanges is lost; the recording in %2 keeps its rows.</source>
        <translation>نمودار %1 ارتباط از دست می‌رود؛ فایل ضبط %2 ردیف‌هایش را نگه می‌دارد.</translation>
    </message>
    <message>
        <source>The chart of %1 exchanges is lost: Export Image or Record to CSV keeps it.</source>
        <translation>نمودار %1 ارتباط از دست می‌رود: «ذخیره تصویر» یا «ضبط در فایل CSV» آن را نگه می‌دارد.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>بستن</translation>
    </message>
</context>
<context>
    <name>Verdict</name>
    <message>
        <source>verified</source>
        <translation>تأیید شد</translation>
    </message>
    <message>
        <source>differs</source>
        <translation>متفاوت</translation>
    </message>
    <message>
        <source>not verified</source>
        <translation>تأیید نشد</translation>
    </message>
    <message>
        <source>refused</source>
        <translation>رد شد</translation>
    </message>
    <message>
        <source>failed</source>
        <translation>ناموفق</translation>
    </message>
</context>
<context>
    <name>Window</name>
    <message>
        <source>Attention!!</source>
        <translation>توجه!!</translation>
    </message>
    <message>
        <source>Connect Successfully !!</source>
        <translation>اتصال برقرار شد !!</translation>
    </message>
    <message>
        <source>Baud Rate</source>
        <translation>نرخ باود</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>تأیید</translation>
    </message>
    <message>
        <source>Connect Not Successfully !!</source>
        <translation>اتصال برقرار نشد !!</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>بستن</translation>
    </message>
    <message>
        <source>Ultrasonic Sensor Program V7</source>
        <translation>برنامه‌ی سنسور اولتراسونیک V7</translation>
    </message>
    <message>
        <source>Ultrasonic Sensor Modbus Program</source>
        <translation>سنسور اولتراسونیک Modbus</translation>
    </message>
    <message>
        <source>Enter com port</source>
        <translation>شماره‌ی پورت</translation>
    </message>
    <message>
        <source>Set com port</source>
        <translation>تنظیم پورت</translation>
    </message>
    <message>
        <source>Veltra co.</source>
        <translation>شرکت Veltra</translation>
    </message>
    <message>
        <source>Version  V7</source>
        <translation>نسخه‌ی V7</translation>
    </message>
    <message>
        <source>Ultraonic Sensor Program V7</source>
        <translation>برنامه‌ی سنسور اولتراسونیک V7</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>مدل</translation>
    </message>
    <message>
        <source>Block Distance</source>
        <translation>فاصله‌ی کور</translation>
    </message>
    <message>
        <source>Slave Address</source>
        <translation>آدرس Slave</translation>
    </message>
    <message>
        <source>1 to 247</source>
        <translation>۱ تا ۲۴۷</translation>
    </message>
    <message>
        <source>Empty</source>
        <translation>خالی</translation>
    </message>
    <message>
        <source>Full</source>
        <translation>پر</translation>
    </message>
    <message>
        <source>Low DO</source>
        <translation>Low DO</translation>
    </message>
    <message>
        <source>Hi DO</source>
        <translation>Hi DO</translation>
    </message>
    <message>
        <source>Read</source>
        <translation>خواندن</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>نوشتن</translation>
    </message>
    <message>
        <source>Tank Level</source>
        <translation>سطح مخزن</translation>
    </message>
    <message>
        <source>Distance</source>
        <translation>فاصله</translation>
    </message>
    <message>
        <source>Get Level</source>
        <translation>خواندن سطح</translation>
    </message>
    <message>
        <source>Program DVZ</source>
        <translation>برنامه‌ی DVZ</translation>
    </message>
    <message>
        <source>Switch</source>
        <translation>سوئیچ</translation>
    </message>
    <message>
        <source>60 to 600</source>
        <translation>۶۰ تا ۶۰۰</translation>
    </message>
    <message>
        <source>Get Distance</source>
        <translation>خواندن فاصله</translation>
    </message>
    <message>
        <source>write</source>
        <translation>نوشتن</translation>
    </message>
</context>
</TS>
