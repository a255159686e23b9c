<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa_IR">
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
        <translation>مورد %1: %2، سنسور %3، تاریخ ساخت %4 (ماه/روز/سال)</translation>
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
</TS>
