<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fa_IR">
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
</TS>
