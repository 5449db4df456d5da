<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="th_TH">
<context>
    <name>QAbstractSpinBox</name>
    <message>
        <source>Step &amp;down</source>
        <translation>ลดลง (&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Step up</source>
        <translation>เพิ่มขึ้น (&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>เลือกทั้งหมด (&amp;S)</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Back</source>
        <translation>ย้อนกลับ</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>เปิด</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>เปิด (&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>บันทึก (&amp;S)</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>แฟ้ม</translation>
    </message>
    <message>
        <source>Show </source>
        <translation>แสดง </translation>
    </message>
    <message>
        <source>&apos;%1&apos; is write protected.
Do you want to delete it anyway?</source>
        <translation>&apos;%1&apos; ถูกป้องกันการเขียน
ต้องการลบหรือไม่</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;?</source>
        <translation>ต้องการลบ &apos;%1&apos; หรือไม่</translation>
    </message>
    <message>
        <source>List of places and bookmarks</source>
        <translation>รายการตำแหน่งและที่คั่นไว้</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>ชื่อแฟ้ม (&amp;N):</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ลบ</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>โฟลเดอร์ใหม่</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>โฟลเดอร์ระดับบน</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>โฟลเดอร์ใหม่ (&amp;N)</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>เอาออก</translation>
    </message>
    <message>
        <source>Look in:</source>
        <translation>ค้นหาใน:</translation>
    </message>
    <message>
        <source>Create a New Folder</source>
        <translation>สร้างโฟลเดอร์ใหม่</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>ชนิดแฟ้ม:</translation>
    </message>
    <message>
        <source>Find Directory</source>
        <translation>ค้นหาโฟลเดอร์</translation>
    </message>
    <message>
        <source>Show &amp;hidden files</source>
        <translation>แสดงแฟ้มที่ซ่อนไว้ (&amp;H)</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>บันทึกเป็น</translation>
    </message>
    <message>
        <source>%1
Directory not found.
Please verify the correct directory name was given.</source>
        <translation>%1
ไม่พบโฟลเดอร์
กรุณาตรวจสอบชื่อโฟลเดอร์</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>แถบด้านข้าง</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>แสดงเป็นรายการ</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>เลือก (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>ลบ (&amp;D)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>ทุกแฟ้ม (*)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>ทุกแฟ้ม (*)</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>โฟลเดอร์</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>เปลี่ยนชื่อ (&amp;R)</translation>
    </message>
    <message>
        <source>Could not delete directory.</source>
        <translation>ลบโฟลเดอร์ไม่ได้</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>โฟลเดอร์:</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>มีแฟ้ม %1 อยู่แล้ว
ต้องการเขียนทับหรือไม่</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>ไปข้างหน้า</translation>
    </message>
    <message>
        <source>Go forward</source>
        <translation>ไปข้างหน้า</translation>
    </message>
    <message>
        <source>Go to the parent directory</source>
        <translation>ไปยังโฟลเดอร์ระดับบน</translation>
    </message>
    <message>
        <source>Recent Places</source>
        <translation>ตำแหน่งที่ใช้ล่าสุด</translation>
    </message>
    <message>
        <source>Go back</source>
        <translation>ย้อนกลับ</translation>
    </message>
    <message>
        <source>Change to detail view mode</source>
        <translation>แสดงแบบรายละเอียด</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>สร้างโฟลเดอร์ใหม่</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>แสดงแบบรายละเอียด</translation>
    </message>
    <message>
        <source>%1
File not found.
Please verify the correct file name was given.</source>
        <translation>%1
ไม่พบแฟ้ม
กรุณาตรวจสอบชื่อแฟ้ม</translation>
    </message>
    <message>
        <source>Change to list view mode</source>
        <translation>แสดงแบบรายการ</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Kind</source>
        <translation>ชนิด</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>ชื่อ</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>ขนาด</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>ชนิด</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>คอมพิวเตอร์ของฉัน</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>คอมพิวเตอร์</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>วันที่แก้ไข</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>Cu&amp;t</source>
        <translation>ตัด (&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>คัดลอก (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>ทำซ้ำ (&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>เลิกทำ (&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>วาง (&amp;P)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ลบ</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>เลือกทั้งหมด</translation>
    </message>
</context>
<context>
    <name>QMdiSubWindow</name>
    <message>
        <source>Help</source>
        <translation>ช่วยเหลือ</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>เมนู</translation>
    </message>
    <message>
        <source>&amp;Move</source>
        <translation>ย้าย (&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>ปรับขนาด (&amp;S)</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>ปิด</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>ย่อหน้าต่าง</translation>
    </message>
    <message>
        <source>Shade</source>
        <translation>พับหน้าต่าง</translation>
    </message>
    <message>
        <source>Stay on &amp;Top</source>
        <translation>อยู่บนสุดเสมอ (&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>ปิด (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>คืนขนาดเดิม (&amp;R)</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>คืนขนาดเดิม</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>ขยายเต็มจอ</translation>
    </message>
    <message>
        <source>Unshade</source>
        <translation>คลี่หน้าต่าง</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>ย่อหน้าต่าง (&amp;N)</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>ขยายเต็มจอ (&amp;X)</translation>
    </message>
    <message>
        <source>Restore Down</source>
        <translation>คืนขนาดเดิม</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>แสดงรายละเอียด...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>ซ่อนรายละเอียด...</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>bottom margin</source>
        <translation>ขอบล่าง</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>กระดาษ</translation>
    </message>
    <message>
        <source>Paper source:</source>
        <translation>ถาดกระดาษ:</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>ขอบขวา</translation>
    </message>
    <message>
        <source>Pica (P̸)</source>
        <translation>ไพกา (P̸)</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>ขอบกระดาษ</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>กำหนดเอง</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>แนวนอน</translation>
    </message>
    <message>
        <source>Page Layout</source>
        <translation>การจัดหน้า</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>กว้าง:</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>การวางแนว</translation>
    </message>
    <message>
        <source>Didot (DD)</source>
        <translation>ดีโดต์ (DD)</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>แนวตั้ง</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>ลำดับหน้า:</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>ขอบบน</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>ขอบซ้าย</translation>
    </message>
    <message>
        <source>Page size:</source>
        <translation>ขนาดกระดาษ:</translation>
    </message>
    <message>
        <source>Cicero (CC)</source>
        <translation>ซิเซโร (CC)</translation>
    </message>
    <message>
        <source>Reverse portrait</source>
        <translation>แนวตั้งกลับหัว</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>มิลลิเมตร (mm)</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>พอยต์ (pt)</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>จำนวนหน้าต่อแผ่น:</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>นิ้ว (in)</translation>
    </message>
    <message>
        <source>Reverse landscape</source>
        <translation>แนวนอนกลับหัว</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>สูง:</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>&amp;No</source>
        <translation>ไม่ใช่ (&amp;N)</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>ใช่ (&amp;Y)</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>ช่วยเหลือ</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>เปิด</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>บันทึก</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>ยกเลิกการทำงาน</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>นำไปใช้</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>ปิด</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>ตั้งค่าใหม่</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>ลองอีกครั้ง</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>คืนค่าเริ่มต้น</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>ข้าม</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>ไม่ใช่ทั้งหมด (&amp;O)</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>บันทึกทั้งหมด</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>ไม่บันทึก</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>ใช่ทั้งหมด (&amp;A)</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Even Pages</source>
        <translation>หน้าคู่</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>พิมพ์</translation>
    </message>
    <message>
        <source>&amp;Options &lt;&lt;</source>
        <translation>ตัวเลือก (&amp;O) &lt;&lt;</translation>
    </message>
    <message>
        <source>&amp;Options &gt;&gt;</source>
        <translation>ตัวเลือก (&amp;O) &gt;&gt;</translation>
    </message>
    <message>
        <source>Left to Right, Top to Bottom</source>
        <translation>ซ้ายไปขวา บนลงล่าง</translation>
    </message>
    <message>
        <source>Right to Left, Bottom to Top</source>
        <translation>ขวาไปซ้าย ล่างขึ้นบน</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>เขียนแฟ้ม PDF</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>พิมพ์ (&amp;P)</translation>
    </message>
    <message>
        <source>Options &apos;Pages Per Sheet&apos; and &apos;Page Set&apos; cannot be used together.
Please turn one of those options off.</source>
        <translation>ใช้ตัวเลือก &apos;จำนวนหน้าต่อแผ่น&apos; และ &apos;ชุดหน้า&apos; พร้อมกันไม่ได้
กรุณาปิดตัวเลือกหนึ่ง</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>มีแฟ้ม %1 อยู่แล้ว
ต้องการเขียนทับหรือไม่</translation>
    </message>
    <message>
        <source>Left to Right, Bottom to Top</source>
        <translation>ซ้ายไปขวา ล่างขึ้นบน</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>หน้าคี่</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>แฟ้มในเครื่อง</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>การตั้งค่าพิมพ์สองหน้าขัดกัน ต้องการแก้ไขหรือไม่</translation>
    </message>
    <message>
        <source>Print to File (PDF)</source>
        <translation>พิมพ์ลงแฟ้ม (PDF)</translation>
    </message>
    <message>
        <source>Print To File ...</source>
        <translation>พิมพ์ลงแฟ้ม ...</translation>
    </message>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>กำหนดหน้าไม่ถูกต้อง</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>%1 เขียนไม่ถูกรูปแบบ กรุณาใช้ &apos;,&apos; คั่นหน้าและช่วงหน้า ใช้ &apos;-&apos; กำหนดช่วงหน้า และช่วงหน้าต้องไม่ซ้อนกัน</translation>
    </message>
    <message>
        <source>Right to Left, Top to Bottom</source>
        <translation>ขวาไปซ้าย บนลงล่าง</translation>
    </message>
    <message>
        <source>Bottom to Top, Left to Right</source>
        <translation>ล่างขึ้นบน ซ้ายไปขวา</translation>
    </message>
    <message>
        <source>The &apos;From&apos; value cannot be greater than the &apos;To&apos; value.</source>
        <translation>ค่า &apos;จาก&apos; ต้องไม่มากกว่าค่า &apos;ถึง&apos;</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>ทุกหน้า</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>การตั้งค่าพิมพ์สองหน้าขัดกัน</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 เป็นโฟลเดอร์
กรุณาเลือกชื่อแฟ้มอื่น</translation>
    </message>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>เขียนแฟ้ม %1 ไม่ได้
กรุณาเลือกชื่อแฟ้มอื่น</translation>
    </message>
    <message>
        <source>Bottom to Top, Right to Left</source>
        <translation>ล่างขึ้นบน ขวาไปซ้าย</translation>
    </message>
    <message>
        <source>Top to Bottom, Left to Right</source>
        <translation>บนลงล่าง ซ้ายไปขวา</translation>
    </message>
    <message>
        <source>Top to Bottom, Right to Left</source>
        <translation>บนลงล่าง ขวาไปซ้าย</translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>Print Preview</source>
        <translation>ตัวอย่างก่อนพิมพ์</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>พิมพ์</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>พอดีหน้า</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>ขยาย</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>แนวนอน</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>ย่อ</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>พอดีความกว้าง</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>แนวตั้ง</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>ตั้งค่าหน้ากระดาษ</translation>
    </message>
    <message>
        <source>Page setup</source>
        <translation>ตั้งค่าหน้ากระดาษ</translation>
    </message>
    <message>
        <source>Show overview of all pages</source>
        <translation>แสดงทุกหน้า</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>หน้าแรก</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>หน้าสุดท้าย</translation>
    </message>
    <message>
        <source>Show single page</source>
        <translation>แสดงทีละหน้า</translation>
    </message>
    <message>
        <source>Export to PDF</source>
        <translation>ส่งออกเป็น PDF</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>หน้าก่อน</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>หน้าถัดไป</translation>
    </message>
    <message>
        <source>Show facing pages</source>
        <translation>แสดงสองหน้าคู่กัน</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>ตัวเลือกขั้นสูงขัดกัน</translation>
    </message>
    <message>
        <source>Job Options</source>
        <translation>ตัวเลือกงานพิมพ์</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>การตั้งค่าหน้ากระดาษขัดกัน</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>ตัวเลือกขั้นสูงบางตัวขัดกัน ต้องการแก้ไขหรือไม่</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>การตั้งค่าหน้ากระดาษบางตัวขัดกัน ต้องการแก้ไขหรือไม่</translation>
    </message>
    <message>
        <source>Printer Properties</source>
        <translation>คุณสมบัติเครื่องพิมพ์</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Page</source>
        <translation>หน้า</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>ตัวเลือกบางตัวขัดกัน กรุณาแก้ไข</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>ขั้นสูง</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>to</source>
        <translation>ถึง</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>ปิด</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>สี</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>พิมพ์ทั้งหมด</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>หน้า</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>หน้าปัจจุบัน</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>ส่วนที่เลือก</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>จำนวนชุด</translation>
    </message>
    <message>
        <source>Print range</source>
        <translation>ช่วงที่พิมพ์</translation>
    </message>
    <message>
        <source>Color Mode</source>
        <translation>โหมดสี</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>ตัวเลือก</translation>
    </message>
    <message>
        <source>Output Settings</source>
        <translation>การตั้งค่าผลลัพธ์</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>เรียงย้อนกลับ</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>ระดับสีเทา</translation>
    </message>
    <message>
        <source>Collate</source>
        <translation>เรียงชุด</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>จำนวนชุด:</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>เย็บด้านสั้น</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>ระบุหน้าหรือช่วงหน้าคั่นด้วยจุลภาค ช่วงหน้าเขียนเป็นตัวเลขสองตัวคั่นด้วยขีด เช่น 3,5-7,9 พิมพ์หน้า 3, 5, 6, 7 และ 9</translation>
    </message>
    <message>
        <source>Pages from</source>
        <translation>หน้าที่</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>พิมพ์สองหน้า</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>ชุดหน้า:</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>เย็บด้านยาว</translation>
    </message>
</context>
<context>
    <name>QPrintWidget</name>
    <message>
        <source>Type:</source>
        <translation>ชนิด:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>ชื่อ (&amp;N):</translation>
    </message>
    <message>
        <source>Output &amp;file:</source>
        <translation>แฟ้มผลลัพธ์ (&amp;F):</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>คุณสมบัติ (&amp;R)</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>ตัวอย่าง</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>เครื่องพิมพ์</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>ตำแหน่ง:</translation>
    </message>
</context>
<context>
    <name>QProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>ยกเลิก</translation>
    </message>
</context>
<context>
    <name>QScrollBar</name>
    <message>
        <source>Top</source>
        <translation>บนสุด</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>เลื่อนลง</translation>
    </message>
    <message>
        <source>Scroll here</source>
        <translation>เลื่อนมาที่นี่</translation>
    </message>
    <message>
        <source>Scroll left</source>
        <translation>เลื่อนซ้าย</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>ล่างสุด</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>ขึ้นหนึ่งหน้า</translation>
    </message>
    <message>
        <source>Page right</source>
        <translation>ขวาหนึ่งหน้า</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>เลื่อนขึ้น</translation>
    </message>
    <message>
        <source>Scroll right</source>
        <translation>เลื่อนขวา</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>ซ้ายสุด</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>ลงหนึ่งหน้า</translation>
    </message>
    <message>
        <source>Page left</source>
        <translation>ซ้ายหนึ่งหน้า</translation>
    </message>
    <message>
        <source>Right edge</source>
        <translation>ขวาสุด</translation>
    </message>
</context>
<context>
    <name>QTabBar</name>
    <message>
        <source>Scroll Left</source>
        <translation>เลื่อนซ้าย</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>เลื่อนขวา</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>Cu&amp;t</source>
        <translation>ตัด (&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>คัดลอก (&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>ทำซ้ำ (&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>เลิกทำ (&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>วาง (&amp;P)</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>ลบ</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>เลือกทั้งหมด</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>คัดลอกที่อยู่ลิงก์ (&amp;L)</translation>
    </message>
</context>
</TS>
