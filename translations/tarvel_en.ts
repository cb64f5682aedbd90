<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>Canvas</name>
    <message>
        <source>无法导出 PDF %1：%2。</source>
        <translation>Cannot export the PDF %1: %2.</translation>
    </message>
    <message>
        <source>画布上没有图片</source>
        <translation>There is no picture on the canvas</translation>
    </message>
    <message>
        <source>没有纸张“%1”</source>
        <translation>There is no paper “%1”</translation>
    </message>
    <message>
        <source>无法写入 PDF</source>
        <translation>Cannot write the PDF</translation>
    </message>
    <message>
        <source>%1%2：%3。</source>
        <translation>%1 %2: %3.</translation>
    </message>
    <message>
        <source>无法保存图片</source>
        <translation>Cannot save the picture</translation>
    </message>
    <message>
        <source>画布上还没有图片</source>
        <translation>There is no picture on the canvas yet</translation>
    </message>
    <message>
        <source>%1 厘米</source>
        <translation>%1 cm</translation>
    </message>
</context>
<context>
    <name>Composition</name>
    <message>
        <source>作品的步骤太多（最多 %1 步），不能再加新的步骤。</source>
        <translation>The work has too many steps (at most %1); no more steps can be added.</translation>
    </message>
    <message>
        <source>无法建立恢复记录的文件夹“%1”。</source>
        <translation>Cannot create the recovery folder “%1”.</translation>
    </message>
    <message>
        <source>无法建立恢复记录“%1”：%2。</source>
        <translation>Cannot create the recovery journal “%1”: %2.</translation>
    </message>
    <message>
        <source>%1 程序意外退出时，这件作品不能恢复：请保存作品。</source>
        <translation>%1 If the program ends unexpectedly, this work cannot be recovered: please save it.</translation>
    </message>
    <message>
        <source>无法写入恢复记录“%1”：%2。</source>
        <translation>Cannot write the recovery journal “%1”: %2.</translation>
    </message>
    <message>
        <source>无法恢复“%1”：%2</source>
        <translation>Cannot recover “%1”: %2</translation>
    </message>
    <message>
        <source>。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>这个文件不是 Tarvel 的恢复记录。</source>
        <translation>This file is not a Tarvel recovery journal.</translation>
    </message>
    <message>
        <source>第 %1 行坏了。</source>
        <translation>Line %1 is damaged.</translation>
    </message>
    <message>
        <source>作品“%1”在这些步骤之后又保存过或改过，步骤不能接在它后面。</source>
        <translation>The work “%1” was saved or changed after these steps; they cannot follow it.</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>文本</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>作品模板</source>
        <translation>Work template</translation>
    </message>
    <message>
        <source>旋转字</source>
        <translation>Rotated text</translation>
    </message>
    <message>
        <source>印章</source>
        <translation>Seal</translation>
    </message>
    <message>
        <source>圆形</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>扇形</source>
        <translation>Fan</translation>
    </message>
    <message>
        <source>第 %1 步（第 %2 行）：%3</source>
        <translation>Step %1 (line %2): %3</translation>
    </message>
    <message>
        <source>作品文件里不能有“%1”</source>
        <translation>A work file cannot contain “%1”</translation>
    </message>
    <message>
        <source>作品文件里的文本不能读写别的文件（“%1”）</source>
        <translation>Text in a work file cannot read or write other files (“%1”)</translation>
    </message>
    <message>
        <source>背景图片“%1”不在作品文件里</source>
        <translation>The background picture “%1” is not in the work file</translation>
    </message>
    <message>
        <source>背景图片太大（超过 %1 MB），不能放进作品文件。</source>
        <translation>The background picture is too large (over %1 MB) to go into a work file.</translation>
    </message>
    <message>
        <source>无法保存</source>
        <translation>Cannot save</translation>
    </message>
    <message>
        <source>作品太大（超过 %1 MB），无法保存为作品文件。</source>
        <translation>The work is too large (over %1 MB) to save as a work file.</translation>
    </message>
    <message>
        <source>作品太大（超过 %1 个步骤和文字段），无法保存为作品文件。</source>
        <translation>The work is too large (over %1 steps and text runs) to save as a work file.</translation>
    </message>
    <message>
        <source>无法打开作品“%1”：%2</source>
        <translation>Cannot open the work “%1”: %2</translation>
    </message>
    <message>
        <source>这个文件不是 Tarvel 作品文件。</source>
        <translation>This file is not a Tarvel work file.</translation>
    </message>
    <message>
        <source>作品文件不完整，可能没有保存完。</source>
        <translation>The work file is incomplete; it may not have been saved completely.</translation>
    </message>
    <message>
        <source>第 %1 步：%2</source>
        <translation>Step %1: %2</translation>
    </message>
    <message>
        <source>按 %1 dpi 输出：%2 dpi 的图片超出了可用的内存。</source>
        <translation>Output at %1 dpi: a picture at %2 dpi does not fit in the memory available. </translation>
    </message>
    <message>
        <source>无法读取脚本%1：%2。</source>
        <translation>Cannot read the script %1: %2.</translation>
    </message>
    <message>
        <source>无法运行脚本%1：%2。</source>
        <translation>Cannot run the script %1: %2.</translation>
    </message>
    <message>
        <source>画布宽度</source>
        <translation>the canvas width</translation>
    </message>
    <message>
        <source>像素</source>
        <translation>pixels</translation>
    </message>
    <message>
        <source>画布高度</source>
        <translation>the canvas height</translation>
    </message>
    <message>
        <source>画布分辨率</source>
        <translation>the canvas resolution</translation>
    </message>
    <message>
        <source>点/英寸</source>
        <translation>dots per inch</translation>
    </message>
    <message>
        <source>字号</source>
        <translation>the font size</translation>
    </message>
    <message>
        <source>文本的排列方式</source>
        <translation>the text arrangement</translation>
    </message>
    <message>
        <source>文本的折行宽度</source>
        <translation>the text wrap width</translation>
    </message>
    <message>
        <source>旋转字的角度</source>
        <translation>the rotated text angle</translation>
    </message>
    <message>
        <source>度</source>
        <translation>degrees</translation>
    </message>
    <message>
        <source>印章的笔画粗细</source>
        <translation>the seal stroke weight</translation>
    </message>
    <message>
        <source>印章的排列方式</source>
        <translation>the seal arrangement</translation>
    </message>
    <message>
        <source>印章的角度</source>
        <translation>the seal angle</translation>
    </message>
    <message>
        <source>印章的边框宽</source>
        <translation>the seal frame width</translation>
    </message>
    <message>
        <source>印章的残破程度</source>
        <translation>the seal wear</translation>
    </message>
    <message>
        <source>扇形的线宽</source>
        <translation>the fan line width</translation>
    </message>
    <message>
        <source>扇形的半径</source>
        <translation>the fan radius</translation>
    </message>
    <message>
        <source>扇形的内半径</source>
        <translation>the fan inner radius</translation>
    </message>
    <message>
        <source>扇形的张角</source>
        <translation>the fan span</translation>
    </message>
    <message>
        <source>放置位置</source>
        <translation>the placement point</translation>
    </message>
    <message>
        <source>微调的次数</source>
        <translation>the number of nudges</translation>
    </message>
    <message>
        <source>模板的长边</source>
        <translation>the template long side</translation>
    </message>
    <message>
        <source>厘米</source>
        <translation>cm</translation>
    </message>
    <message>
        <source>模板的短边</source>
        <translation>the template short side</translation>
    </message>
    <message>
        <source>模板的分辨率</source>
        <translation>the template resolution</translation>
    </message>
    <message>
        <source>扇面的张角</source>
        <translation>the fan leaf (扇面) span</translation>
    </message>
    <message>
        <source>第 %1 步：%2必须在 %3 到 %4 之间。</source>
        <translation>Step %1: %2 must be between %3 and %4.</translation>
    </message>
    <message>
        <source>第 %1 步：%2必须在 %3 到 %4 %5之间。</source>
        <translation>Step %1: %2 must be between %3 and %4 %5.</translation>
    </message>
</context>
<context>
    <name>ConversionButtons</name>
    <message>
        <source>转为繁体</source>
        <translation>To traditional</translation>
    </message>
    <message>
        <source>转为简体</source>
        <translation>To simplified</translation>
    </message>
</context>
<context>
    <name>Effects</name>
    <message>
        <source>空心</source>
        <translation>Hollow</translation>
    </message>
    <message>
        <source>怀旧</source>
        <translation>Nostalgic</translation>
    </message>
    <message>
        <source>立体</source>
        <translation>Emboss</translation>
    </message>
    <message>
        <source>锐化</source>
        <translation>Sharpen</translation>
    </message>
    <message>
        <source>清晰</source>
        <translation>Clarify</translation>
    </message>
    <message>
        <source>描边</source>
        <translation>Outline</translation>
    </message>
    <message>
        <source>柔和</source>
        <translation>Soften</translation>
    </message>
    <message>
        <source>模糊</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>还原</source>
        <translation>Restore</translation>
    </message>
</context>
<context>
    <name>FanTextOption</name>
    <message>
        <source>扇面</source>
        <translation>Fan leaf (扇面)</translation>
    </message>
    <message>
        <source>长短行</source>
        <translation>Long and short lines</translation>
    </message>
</context>
<context>
    <name>Help</name>
    <message>
        <source>找不到帮助文件：%1</source>
        <translation>Cannot find the help file: %1</translation>
    </message>
    <message>
        <source>帮助文件已损坏或被替换，不能打开：%1</source>
        <translation>The help file is damaged or was replaced and cannot be opened: %1</translation>
    </message>
</context>
<context>
    <name>HelpBrowser</name>
    <message>
        <source>&lt;p&gt;找不到页面：%1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Page not found: %1&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tarvel 使用手册</source>
        <translation>Tarvel Manual</translation>
    </message>
    <message>
        <source>后退</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>前进</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>目录</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>找不到页面：%1</source>
        <translation>Page not found: %1</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>内存不足，命令没有完成。</source>
        <translation>Out of memory; the command was not completed.</translation>
    </message>
    <message>
        <source>内存不足，无法容纳这张图片</source>
        <translation>Not enough memory to hold this picture</translation>
    </message>
    <message>
        <source>警告：</source>
        <translation>Warning: </translation>
    </message>
    <message>
        <source>扇面排列要跟随一把折扇：请先盖上一把折扇，再排文字。</source>
        <translation>The fan arrangement follows a fan: stamp a fan first, then arrange the text.</translation>
    </message>
    <message>
        <source>只能读取 PNG（.png）、JPEG（.jpg、.jpeg）和 BMP（.bmp）图片</source>
        <translation>Only PNG (.png), JPEG (.jpg, .jpeg) and BMP (.bmp) pictures can be read</translation>
    </message>
    <message>
        <source>无法读取图片%1：%2。</source>
        <translation>Cannot read the picture %1: %2.</translation>
    </message>
    <message>
        <source>没有命令“%1”</source>
        <translation>there is no command “%1”</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>文件不是 BMP 图片</source>
        <translation>The file is not a BMP picture</translation>
    </message>
    <message>
        <source>BMP 数据已损坏或不完整</source>
        <translation>The BMP data is damaged or incomplete</translation>
    </message>
    <message>
        <source>图片太大，不能存为 BMP 文件</source>
        <translation>The picture is too large to save as a BMP file</translation>
    </message>
    <message>
        <source>无法写入 BMP 文件</source>
        <translation>Cannot write the BMP file</translation>
    </message>
    <message>
        <source>文件或文件夹不存在</source>
        <translation>The file or folder does not exist</translation>
    </message>
    <message>
        <source>文件夹不存在</source>
        <translation>The folder does not exist</translation>
    </message>
    <message>
        <source>没有访问权限</source>
        <translation>Permission denied</translation>
    </message>
    <message>
        <source>磁盘只能读取，不能写入</source>
        <translation>The disk is read-only</translation>
    </message>
    <message>
        <source>磁盘空间不足或超出文件大小限制</source>
        <translation>The disk is full or the file size limit was exceeded</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>This is a folder</translation>
    </message>
    <message>
        <source>文件名太长</source>
        <translation>The file name is too long</translation>
    </message>
    <message>
        <source>打开的文件太多</source>
        <translation>Too many open files</translation>
    </message>
    <message>
        <source>符号链接太多，或者链接绕成了圈</source>
        <translation>Too many symbolic links, or the links form a loop</translation>
    </message>
    <message>
        <source>读写出错</source>
        <translation>Input/output error</translation>
    </message>
    <message>
        <source>文件是空的</source>
        <translation>The file is empty</translation>
    </message>
    <message>
        <source>文件不存在</source>
        <translation>The file does not exist</translation>
    </message>
    <message>
        <source>这不是一个普通文件</source>
        <translation>This is not a regular file</translation>
    </message>
    <message>
        <source>文件太大（最多接受 %1）</source>
        <translation>The file is too large (at most %1 is accepted)</translation>
    </message>
    <message>
        <source>JPEG 图片需要的工作内存超过背景允许的 %1 MB</source>
        <translation>The JPEG picture needs more working memory than the %1 MB a background may use</translation>
    </message>
    <message>
        <source>JPEG 数据已损坏或不完整（渐进扫描次数太多）</source>
        <translation>The JPEG data is damaged or incomplete (too many progressive scans)</translation>
    </message>
    <message>
        <source>JPEG 数据已损坏或不完整</source>
        <translation>The JPEG data is damaged or incomplete</translation>
    </message>
    <message>
        <source>文件不是 JPEG 图片</source>
        <translation>The file is not a JPEG picture</translation>
    </message>
    <message>
        <source>无法写入 JPEG 文件</source>
        <translation>Cannot write the JPEG file</translation>
    </message>
    <message>
        <source>图片声明的尺寸为空（%1 × %2 像素）</source>
        <translation>The picture declares an empty size (%1 × %2 pixels)</translation>
    </message>
    <message>
        <source>图片太大，不能作为背景：%1 × %2 像素（每边最多 %3 像素，像素数据最多 %4 MB）</source>
        <translation>The picture is too large for a background: %1 × %2 pixels (at most %3 pixels a side and %4 MB of pixel data)</translation>
    </message>
    <message>
        <source>画布上还没有图片</source>
        <translation>There is no picture on the canvas yet</translation>
    </message>
    <message>
        <source>内存不足，无法保存这张图片</source>
        <translation>Not enough memory to save this picture</translation>
    </message>
    <message>
        <source>PNG 数据已损坏或不完整</source>
        <translation>The PNG data is damaged or incomplete</translation>
    </message>
    <message>
        <source>文件不是 PNG 图片</source>
        <translation>The file is not a PNG picture</translation>
    </message>
    <message>
        <source>PNG 库无法启动</source>
        <translation>The PNG library cannot start</translation>
    </message>
    <message>
        <source>无法写入 PNG 文件</source>
        <translation>Cannot write the PNG file</translation>
    </message>
</context>
<context>
    <name>PlatformDialogs</name>
    <message>
        <source>当前作品尚未保存，是否保存？</source>
        <translation>The current work has not been saved. Save it?</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>不保存</source>
        <translation>Don&apos;t Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Recover</translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation>Save As…</translation>
    </message>
    <message>
        <source>丢弃</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>以后再说</source>
        <translation>Later</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>PNG 图片</source>
        <translation>PNG image</translation>
    </message>
    <message>
        <source>JPEG 图片</source>
        <translation>JPEG image</translation>
    </message>
    <message>
        <source>BMP 图片</source>
        <translation>BMP image</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>Folder</translation>
    </message>
</context>
<context>
    <name>Punctuation</name>
    <message>
        <source>原样</source>
        <translation>As written</translation>
    </message>
    <message>
        <source>竖排</source>
        <translation>Upright</translation>
    </message>
    <message>
        <source>居中</source>
        <translation>Centred</translation>
    </message>
    <message>
        <source>句读</source>
        <translation>Classical</translation>
    </message>
    <message>
        <source>无标点</source>
        <translation>None</translation>
    </message>
    <message>
        <source>竖排，括号靠字</source>
        <translation>Upright, brackets against the text</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>Script</name>
    <message>
        <source>对象没有以“}”结束</source>
        <translation>an object does not end with “}”</translation>
    </message>
    <message>
        <source>键后面缺少“:”</source>
        <translation>a “:” is missing after a key</translation>
    </message>
    <message>
        <source>列表没有以“]”结束</source>
        <translation>a list does not end with “]”</translation>
    </message>
    <message>
        <source>两项之间缺少“,”</source>
        <translation>a “,” is missing between two items</translation>
    </message>
    <message>
        <source>数字无效</source>
        <translation>invalid number</translation>
    </message>
    <message>
        <source>转义序列无效</source>
        <translation>invalid escape sequence</translation>
    </message>
    <message>
        <source>字符串不是有效的 UTF-8</source>
        <translation>a string is not valid UTF-8</translation>
    </message>
    <message>
        <source>字符串没有结束</source>
        <translation>a string is not closed</translation>
    </message>
    <message>
        <source>逗号后面缺少对象</source>
        <translation>an object is missing after a comma</translation>
    </message>
    <message>
        <source>嵌套太深</source>
        <translation>nested too deeply</translation>
    </message>
    <message>
        <source>文档太大</source>
        <translation>the document is too large</translation>
    </message>
    <message>
        <source>结尾有多余的内容</source>
        <translation>extra content at the end</translation>
    </message>
    <message>
        <source>值无效</source>
        <translation>invalid value</translation>
    </message>
    <message>
        <source>第 %1 行：%2</source>
        <translation>Line %1: %2</translation>
    </message>
    <message>
        <source>第 %1 行，第 %2 步：%3</source>
        <translation>Line %1, step %2: %3</translation>
    </message>
    <message>
        <source>命令“%1”需要键“%2”</source>
        <translation>the command “%1” needs the key “%2”</translation>
    </message>
    <message>
        <source>键“%1”必须是列表</source>
        <translation>the key “%1” must be a list</translation>
    </message>
    <message>
        <source>键“%1”必须是 true 或 false</source>
        <translation>the key “%1” must be true or false</translation>
    </message>
    <message>
        <source>命令“%1”只能有键“%2”、“%3”和“%4”中的一个</source>
        <translation>the command “%1” takes only one of the keys “%2”, “%3” and “%4”</translation>
    </message>
    <message>
        <source>键“%1”必须是“#RRGGBB”形式的颜色</source>
        <translation>the key “%1” must be a colour written “#RRGGBB”</translation>
    </message>
    <message>
        <source>键“%1”必须是整数</source>
        <translation>the key “%1” must be an integer</translation>
    </message>
    <message>
        <source>键“%1”必须在 %2 到 %3 之间</source>
        <translation>the key “%1” must be between %2 and %3</translation>
    </message>
    <message>
        <source>键“%1”必须是字符串</source>
        <translation>the key “%1” must be a string</translation>
    </message>
    <message>
        <source>键“%1”的文本太长（最多 %2 个字符）</source>
        <translation>the text of the key “%1” is too long (at most %2 characters)</translation>
    </message>
    <message>
        <source>键“%1”的第 %2 个字符是控制字符（U+%3）：文字里只能有换行和制表符</source>
        <translation>character %2 of the key “%1” is a control character (U+%3): text may hold only line breaks and tabs</translation>
    </message>
    <message>
        <source>“runs”的每一项都必须是对象</source>
        <translation>every item of “runs” must be an object</translation>
    </message>
    <message>
        <source>“runs”中没有键“%1”</source>
        <translation>“runs” has no key “%1”</translation>
    </message>
    <message>
        <source>“runs”的每一项都需要键“text”</source>
        <translation>every item of “runs” needs the key “text”</translation>
    </message>
    <message>
        <source>键“%1”必须是文件名</source>
        <translation>the key “%1” must be a file name</translation>
    </message>
    <message>
        <source>键“%1”必须是 [x, y]</source>
        <translation>the key “%1” must be [x, y]</translation>
    </message>
    <message>
        <source>键“%1”必须是 %2 之一</source>
        <translation>the key “%1” must be one of %2</translation>
    </message>
    <message>
        <source>键“%1”必须是对象</source>
        <translation>the key “%1” must be an object</translation>
    </message>
    <message>
        <source>文件太多：最多 %1 个，这里有 %2 个</source>
        <translation>too many files: at most %1, this one has %2</translation>
    </message>
    <message>
        <source>“%1”不是单纯的文件名</source>
        <translation>“%1” is not a plain file name</translation>
    </message>
    <message>
        <source>文件“%1”不是有效的 base64 数据</source>
        <translation>the file “%1” is not valid base64 data</translation>
    </message>
    <message>
        <source>脚本太大（最多接受 %1 MB）</source>
        <translation>The script is too large (at most %1 MB are accepted)</translation>
    </message>
    <message>
        <source>脚本太大：最多 %1 个步骤和文字段，这个脚本有 %2 个</source>
        <translation>the script is too large: at most %1 steps and text runs, this one has %2</translation>
    </message>
    <message>
        <source>不是有效的 JSON：%1</source>
        <translation>not valid JSON: %1</translation>
    </message>
    <message>
        <source>脚本必须是含有键“steps”的对象</source>
        <translation>a script must be an object with the key “steps”</translation>
    </message>
    <message>
        <source>键“format”必须是“%1”</source>
        <translation>the key “format” must be “%1”</translation>
    </message>
    <message>
        <source>键“version”必须是从 1 起的整数</source>
        <translation>the key “version” must be an integer from 1 up</translation>
    </message>
    <message>
        <source>作品文件的格式版本是 %1，来自更新的 Tarvel；这个版本只能打开格式版本 %2 及更早的作品。</source>
        <translation>The work file has format version %1, from a newer Tarvel; this version opens only works of format version %2 and earlier.</translation>
    </message>
    <message>
        <source>没有键“%1”</source>
        <translation>there is no key “%1”</translation>
    </message>
    <message>
        <source>每一步都必须是对象</source>
        <translation>every step must be an object</translation>
    </message>
    <message>
        <source>键“do”必须是命令名</source>
        <translation>the key “do” must be a command name</translation>
    </message>
    <message>
        <source>命令“%2”没有键“%1”</source>
        <translation>the command “%2” has no key “%1”</translation>
    </message>
    <message>
        <source>命令“nudge”的键“dx”“dy”不能和“direction”“times”同用</source>
        <translation>the command “nudge” cannot take the keys “dx” “dy” together with “direction” “times”</translation>
    </message>
</context>
<context>
    <name>Seal</name>
    <message>
        <source>印章边长 %1 太大：印章最多 %2 × %2 像素，与最大的画布一样大。</source>
        <translation>A seal side of %1 is too large: a seal is at most %2 × %2 pixels, as large as the largest canvas.</translation>
    </message>
</context>
<context>
    <name>ShapeDialog</name>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>半径：</source>
        <translation>Radius:</translation>
    </message>
    <message>
        <source>线条颜色：</source>
        <translation>Line colour:</translation>
    </message>
    <message>
        <source>填充颜色：</source>
        <translation>Fill colour:</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Shapes</name>
    <message>
        <source>半径 %1 太大：无法创建 %2 × %2 像素的圆形图片。</source>
        <translation>Radius %1 is too large: cannot make a circle picture of %2 × %2 pixels.</translation>
    </message>
    <message>
        <source>半径 %1 太大：无法创建 %2 × %3 像素的扇面图片。</source>
        <translation>Radius %1 is too large: cannot make a fan leaf picture of %2 × %3 pixels.</translation>
    </message>
    <message>
        <source>内存不足：无法创建 %1 × %2 像素的扇面图片。</source>
        <translation>Out of memory: cannot make a fan leaf picture of %1 × %2 pixels.</translation>
    </message>
    <message>
        <source>折扇的内半径（%1）必须不小于 0 且小于外半径（%2）。</source>
        <translation>The inner radius of the fan (%1) must be at least 0 and less than the outer radius (%2).</translation>
    </message>
    <message>
        <source>折扇的角度（%1°）必须大于 0° 且不超过 180°。</source>
        <translation>The angle of the fan (%1°) must be more than 0° and at most 180°.</translation>
    </message>
    <message>
        <source>折扇的外半径（%1）太大，最大为 %2。</source>
        <translation>The outer radius of the fan (%1) is too large; the largest is %2.</translation>
    </message>
    <message>
        <source>内存不足，无法画出这把折扇</source>
        <translation>Not enough memory to draw this fan</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>新建或者打开</source>
        <translation>New or open</translation>
    </message>
    <message>
        <source>撤消</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>添加文本</source>
        <translation>Add text</translation>
    </message>
    <message>
        <source>添加旋转字体</source>
        <translation>Add rotated text</translation>
    </message>
    <message>
        <source>添加落款</source>
        <translation>Add inscription</translation>
    </message>
    <message>
        <source>添加印章</source>
        <translation>Add seal</translation>
    </message>
    <message>
        <source>添加圆形</source>
        <translation>Add circle</translation>
    </message>
    <message>
        <source>添加扇面</source>
        <translation>Add fan</translation>
    </message>
    <message>
        <source>特效</source>
        <translation>Effects</translation>
    </message>
    <message>
        <source>特效，建议放到最后处理</source>
        <translation>Effects, best applied last</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>左移 10 像素</source>
        <translation>Left 10 pixels</translation>
    </message>
    <message>
        <source>右移 10 像素</source>
        <translation>Right 10 pixels</translation>
    </message>
    <message>
        <source>上移 10 像素</source>
        <translation>Up 10 pixels</translation>
    </message>
    <message>
        <source>下移 10 像素</source>
        <translation>Down 10 pixels</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>打开作品</source>
        <translation>Open Work…</translation>
    </message>
    <message>
        <source>保存作品</source>
        <translation>Save Work</translation>
    </message>
    <message>
        <source>导出脚本</source>
        <translation>Export Script…</translation>
    </message>
    <message>
        <source>作品模板…</source>
        <translation>Work Template…</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>旋转字</source>
        <translation>Rotated text</translation>
    </message>
    <message>
        <source>落款</source>
        <translation>Inscription</translation>
    </message>
    <message>
        <source>印章</source>
        <translation>Seal</translation>
    </message>
    <message>
        <source>圆形</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>扇形</source>
        <translation>Fan</translation>
    </message>
    <message>
        <source>作者声明</source>
        <translation>About</translation>
    </message>
    <message>
        <source>使用手册</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>作者主页</source>
        <translation>Home Page</translation>
    </message>
    <message>
        <source>你好！</source>
        <translation>Hello!</translation>
    </message>
    <message>
        <source>欢迎使用Tarvel。</source>
        <translation>Welcome to Tarvel.</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>图片已导出到“%1”，但作品还没有保存。是否保存作品？</source>
        <translation>The picture was exported to “%1”, but the work has not been saved. Save the work?</translation>
    </message>
    <message>
        <source>当前作品尚未保存，是否保存？</source>
        <translation>The current work has not been saved. Save it?</translation>
    </message>
    <message>
        <source>已保存：%1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>撤消：%1</source>
        <translation>Undo: %1</translation>
    </message>
    <message>
        <source>恢复：%1</source>
        <translation>Redo: %1</translation>
    </message>
    <message>
        <source>内存不足，这一步没有写入恢复记录。</source>
        <translation>Out of memory: this step was not written to the recovery journal.</translation>
    </message>
    <message>
        <source>未命名作品</source>
        <translation>Untitled work</translation>
    </message>
    <message>
        <source>上次没有保存的作品可以恢复：%1（%2 步，%3）</source>
        <translation>Work left unsaved last time can be recovered: %1 (%2 steps, %3)</translation>
    </message>
    <message>
        <source>%1
恢复记录已经留在“%2”。</source>
        <translation>%1
The recovery journal was kept at “%2”.</translation>
    </message>
    <message>
        <source>无法启动浏览器。作者主页的地址是 %1</source>
        <translation>Cannot start a web browser. The home page is at %1</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>System language</translation>
    </message>
    <message>
        <source>无法保存设置，语言没有改变。</source>
        <translation>Cannot save the settings; the language was not changed.</translation>
    </message>
    <message>
        <source>新的语言在下次启动 Tarvel 时生效。</source>
        <translation>The new language takes effect the next time Tarvel starts.</translation>
    </message>
    <message>
        <source>无法打印：打印机没有准备好。</source>
        <translation>Cannot print: the printer is not ready.</translation>
    </message>
    <message>
        <source>导出 PDF…</source>
        <translation>Export PDF…</translation>
    </message>
    <message>
        <source>打印…</source>
        <translation>Print…</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation>Fit Window</translation>
    </message>
    <message>
        <source>实际大小</source>
        <translation>Actual Size</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom In</translation>
    </message>
    <message>
        <source>缩小</source>
        <translation>Zoom Out</translation>
    </message>
    <message>
        <source>未命名</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)|*.pdf</source>
        <translation>PDF files (*.pdf)|*.pdf</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>适合纸张</source>
        <translation>Fit to paper</translation>
    </message>
    <message>
        <source>Tarvel 作品 (*.tarvel)|*.tarvel</source>
        <translation>Tarvel works (*.tarvel)|*.tarvel</translation>
    </message>
    <message>
        <source>脚本 (*.json)|*.json</source>
        <translation>Scripts (*.json)|*.json</translation>
    </message>
    <message>
        <source>无法按模板合成作品：无法读取图片%1：%2。</source>
        <translation>Cannot compose the work from the template: cannot read the picture %1: %2.</translation>
    </message>
    <message>
        <source>无法按模板合成作品：%1</source>
        <translation>Cannot compose the work from the template: %1</translation>
    </message>
    <message>
        <source>作品“%1”已经不在了（移走或删除了）。要把它从“最近的作品”中去掉吗？</source>
        <translation>The work “%1” is gone (moved or deleted). Remove it from “Recent Works”?</translation>
    </message>
    <message>
        <source>（无）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>已导出（%1 dpi）：%2</source>
        <translation>Exported (%1 dpi): %2</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>最近的作品(&amp;R)</source>
        <translation>&amp;Recent Works</translation>
    </message>
    <message>
        <source>添加(&amp;I)</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>语言(&amp;L)</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>图片设置窗口</source>
        <translation>Picture Settings</translation>
    </message>
    <message>
        <source>图片大小</source>
        <translation>Picture size</translation>
    </message>
    <message>
        <source>图片长：</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>图片宽：</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation>Resolution:</translation>
    </message>
    <message>
        <source>点/英寸</source>
        <translation>dots per inch</translation>
    </message>
    <message>
        <source>背景设置</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>调色板</source>
        <translation>Palette</translation>
    </message>
    <message>
        <source>背景图片</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>图片排列</source>
        <translation>Picture layout</translation>
    </message>
    <message>
        <source>平铺</source>
        <translation>Tile</translation>
    </message>
    <message>
        <source>拉伸</source>
        <translation>Stretch</translation>
    </message>
    <message>
        <source>居中</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>旋转字制作设置</source>
        <translation>Rotated Text Settings</translation>
    </message>
    <message>
        <source>字体设置</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>输入字：</source>
        <translation>Text:</translation>
    </message>
    <message>
        <source>旋转角：</source>
        <translation>Rotation:</translation>
    </message>
    <message>
        <source>字间距：</source>
        <translation>Spacing:</translation>
    </message>
    <message>
        <source>字  号：</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>字  体：</source>
        <translation>Font:</translation>
    </message>
    <message>
        <source>颜  色：</source>
        <translation>Colour:</translation>
    </message>
    <message>
        <source>放置方式</source>
        <translation>Placement</translation>
    </message>
    <message>
        <source>横向放置</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>纵向放置</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>确认</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>补字同粗细</source>
        <translation>Match weight</translation>
    </message>
    <message>
        <source>字体缺的字从其他字体补上时，笔画加粗到与本字体一样</source>
        <translation>Characters the font lacks are taken from another font, with their strokes as heavy as this font’s</translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>印章设置</source>
        <translation>Seal Settings</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>印章宽：</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>印章高：</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>字间距：</source>
        <translation>Spacing:</translation>
    </message>
    <message>
        <source>边缘宽：</source>
        <translation>Edge:</translation>
    </message>
    <message>
        <source>笔画粗：</source>
        <translation>Stroke:</translation>
    </message>
    <message>
        <source>字体：</source>
        <translation>Font:</translation>
    </message>
    <message>
        <source>旋转角：</source>
        <translation>Rotation:</translation>
    </message>
    <message>
        <source>印面</source>
        <translation>Impression</translation>
    </message>
    <message>
        <source>大红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>朱砂</source>
        <translation>Cinnabar</translation>
    </message>
    <message>
        <source>朱磦</source>
        <translation>Vermilion</translation>
    </message>
    <message>
        <source>平滑边缘</source>
        <translation>Smooth edges</translation>
    </message>
    <message>
        <source>斑点</source>
        <translation>Specks</translation>
    </message>
    <message>
        <source>压印</source>
        <translation>Pressed</translation>
    </message>
    <message>
        <source>透底</source>
        <translation>Show paper</translation>
    </message>
    <message>
        <source>保持字形比例</source>
        <translation>Keep proportions</translation>
    </message>
    <message>
        <source>补字同粗细</source>
        <translation>Match weight</translation>
    </message>
    <message>
        <source>印章形状与字数不合：字按原比例居中，四周留白</source>
        <translation>Shape and character count differ: centred, blank around</translation>
    </message>
    <message>
        <source>印泥：</source>
        <translation>Paste:</translation>
    </message>
    <message>
        <source>边框宽：</source>
        <translation>Frame:</translation>
    </message>
    <message>
        <source>做旧：</source>
        <translation>Wear:</translation>
    </message>
    <message>
        <source>种子：</source>
        <translation>Seed:</translation>
    </message>
    <message>
        <source>做旧方式：</source>
        <translation>Wear style:</translation>
    </message>
    <message>
        <source>印章形状</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>直角</source>
        <translation>Square</translation>
    </message>
    <message>
        <source>圆角</source>
        <translation>Rounded</translation>
    </message>
    <message>
        <source>显示方式</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>阴文</source>
        <translation>Intaglio (阴文)</translation>
    </message>
    <message>
        <source>阳文</source>
        <translation>Relief (阳文)</translation>
    </message>
    <message>
        <source>排列方式</source>
        <translation>Arrangement</translation>
    </message>
    <message>
        <source>从左向右横排</source>
        <translation>Rows, left to right</translation>
    </message>
    <message>
        <source>从右向左横排</source>
        <translation>Rows, right to left</translation>
    </message>
    <message>
        <source>从左向右竖排</source>
        <translation>Columns, left to right</translation>
    </message>
    <message>
        <source>从右向左竖排</source>
        <translation>Columns, right to left</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TForm5</name>
    <message>
        <source>本程序是自由软件，按 GNU 通用公共许可证第 3 版或更新版本发布。</source>
        <translation>This program is free software, released under the GNU General Public License, version 3 or later.</translation>
    </message>
    <message>
        <source>来信交流：tarvel@example.org</source>
        <translation>Write to: tarvel@example.org</translation>
    </message>
    <message>
        <source>作者声明</source>
        <translation>About Tarvel</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>线粗：</source>
        <translation>Line:</translation>
    </message>
    <message>
        <source>圆形</source>
        <translation>Circle</translation>
    </message>
</context>
<context>
    <name>TForm7</name>
    <message>
        <source>线条粗：</source>
        <translation>Line width:</translation>
    </message>
    <message>
        <source>扇面</source>
        <translation>Fan leaf (扇面)</translation>
    </message>
    <message>
        <source>扇形</source>
        <translation>Fan</translation>
    </message>
    <message>
        <source>折扇</source>
        <translation>Folding fan</translation>
    </message>
    <message>
        <source>内半径：</source>
        <translation>Inner radius:</translation>
    </message>
    <message>
        <source>角度：</source>
        <translation>Angle:</translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>Text File(*.rtf)|*.rtf|文本文件(*.txt)|*.txt</source>
        <translation>Text File(*.rtf)|*.rtf|Text files(*.txt)|*.txt</translation>
    </message>
    <message>
        <source>文本文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*</source>
        <translation>Text files(*.rtf)|*.rtf|Text files(*.txt)|*.txt|All files(*.*)|*.*</translation>
    </message>
    <message>
        <source>文本设置</source>
        <translation>Text Settings</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>自动换行</source>
        <translation>Word Wrap</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>左对齐</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>居中</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>右对齐</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>加粗</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>倾斜</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>下划线</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>新建|新建文件</source>
        <translation>New|New file</translation>
    </message>
    <message>
        <source>打开|打开文件</source>
        <translation>Open|Open a file</translation>
    </message>
    <message>
        <source>保存|保存文件</source>
        <translation>Save|Save the file</translation>
    </message>
    <message>
        <source>撤消</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>剪切|剪切所选对象</source>
        <translation>Cut|Cut the selection</translation>
    </message>
    <message>
        <source>复制|复制所选对象</source>
        <translation>Copy|Copy the selection</translation>
    </message>
    <message>
        <source>粘贴|粘贴对象</source>
        <translation>Paste|Paste</translation>
    </message>
    <message>
        <source>字号</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>加粗|字体加粗</source>
        <translation>Bold|Bold type</translation>
    </message>
    <message>
        <source>倾斜|字体倾斜</source>
        <translation>Italic|Italic type</translation>
    </message>
    <message>
        <source>下划线|文字下划线</source>
        <translation>Underline|Underlined text</translation>
    </message>
    <message>
        <source>左对齐|文字左对齐</source>
        <translation>Left|Align text left</translation>
    </message>
    <message>
        <source>居中|文字居中</source>
        <translation>Centre|Centre the text</translation>
    </message>
    <message>
        <source>右对齐|文字右对齐</source>
        <translation>Right|Align text right</translation>
    </message>
    <message>
        <source>边距和间距</source>
        <translation>Margins and spacing</translation>
    </message>
    <message>
        <source>左边距：</source>
        <translation>Left:</translation>
    </message>
    <message>
        <source>上边距：</source>
        <translation>Top:</translation>
    </message>
    <message>
        <source>字间距：</source>
        <translation>Spacing:</translation>
    </message>
    <message>
        <source>行间距：</source>
        <translation>Line gap:</translation>
    </message>
    <message>
        <source>文本排列</source>
        <translation>Arrangement</translation>
    </message>
    <message>
        <source>从左向右横排</source>
        <translation>Rows, left to right</translation>
    </message>
    <message>
        <source>从右向左横排</source>
        <translation>Rows, right to left</translation>
    </message>
    <message>
        <source>从左向右竖排</source>
        <translation>Columns, left to right</translation>
    </message>
    <message>
        <source>从右向左竖排</source>
        <translation>Columns, right to left</translation>
    </message>
    <message>
        <source>标点</source>
        <translation>Punctuation</translation>
    </message>
    <message>
        <source>数字写作汉字</source>
        <translation>Digits in Chinese</translation>
    </message>
    <message>
        <source>补字同粗细</source>
        <translation>Match weight</translation>
    </message>
    <message>
        <source>字体缺的字从其他字体补上时，笔画加粗到与本字体一样</source>
        <translation>Characters the font lacks are taken from another font, with their strokes as heavy as this font’s</translation>
    </message>
    <message>
        <source>查看尺寸</source>
        <translation>Measure</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>应用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>编辑(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>格式(&amp;O)</source>
        <translation>F&amp;ormat</translation>
    </message>
    <message>
        <source>对齐(&amp;A)</source>
        <translation>&amp;Align</translation>
    </message>
    <message>
        <source>字体(&amp;F)</source>
        <translation>&amp;Font</translation>
    </message>
</context>
<context>
    <name>TemplateDialog</name>
    <message>
        <source>作品模板</source>
        <translation>Work template</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>正文；对联写两行：上联、下联</source>
        <translation>The text; a couplet on two lines, first and second</translation>
    </message>
    <message>
        <source>长短行</source>
        <translation>Long and short lines</translation>
    </message>
    <message>
        <source>数字写作汉字</source>
        <translation>Digits in Chinese</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>纸张</source>
        <translation>Paper</translation>
    </message>
    <message>
        <source>厘米，分辨率</source>
        <translation>cm, resolution</translation>
    </message>
    <message>
        <source>dpi（0 为自动）</source>
        <translation>dpi (0: automatic)</translation>
    </message>
    <message>
        <source>长 × 宽</source>
        <translation>Length × width</translation>
    </message>
    <message>
        <source>底色</source>
        <translation>Paper colour</translation>
    </message>
    <message>
        <source>墨色</source>
        <translation>Ink colour</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Colours</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>正文</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>横批</source>
        <translation>Horizontal scroll (横批)</translation>
    </message>
    <message>
        <source>标点</source>
        <translation>Punctuation</translation>
    </message>
    <message>
        <source>上款</source>
        <translation>Dedication (上款)</translation>
    </message>
    <message>
        <source>下款</source>
        <translation>Signature (下款)</translation>
    </message>
    <message>
        <source>名章</source>
        <translation>Name seal</translation>
    </message>
    <message>
        <source>引首章</source>
        <translation>Leading seal</translation>
    </message>
    <message>
        <source>度</source>
        <translation>°</translation>
    </message>
    <message>
        <source>扇面角度</source>
        <translation>Fan angle</translation>
    </message>
    <message>
        <source>画布 %1 × %2 像素（%3 × %4 厘米，%5 dpi）</source>
        <translation>Canvas %1 × %2 pixels (%3 × %4 cm, %5 dpi)</translation>
    </message>
    <message>
        <source>按装裱的规矩排</source>
        <translation>Lay out for mounting</translation>
    </message>
    <message>
        <source>正文按纸张分行、定字大小，落款和印章按书写的规矩排，印章用朱砂色、刻出透底；不选则按旧版的排法</source>
        <translation>Divides and sizes the text by the paper, places the inscription (款) and the seals by the conventions, and presses the seals in cinnabar with the paper showing through the cut; unticked, the earlier layout is used</translation>
    </message>
</context>
<context>
    <name>Templates</name>
    <message>
        <source>%1有 %2 个字，在这张纸上每个字不到 %3 像素，放不下；请选大一些的纸或少写几个字。</source>
        <translation>%1 has %2 characters, each under %3 pixels on this paper, and does not fit; choose a larger paper or write fewer characters.</translation>
    </message>
    <message>
        <source>%1放不下：纸张太小或正文太长，请选大一些的纸或少写几个字。</source>
        <translation>%1 does not fit: the paper is too small or the text too long; choose a larger paper or write fewer characters.</translation>
    </message>
    <message>
        <source>下款</source>
        <translation>Signature (下款)</translation>
    </message>
    <message>
        <source>名章</source>
        <translation>Name seal</translation>
    </message>
    <message>
        <source>引首章</source>
        <translation>Leading seal</translation>
    </message>
    <message>
        <source>上款</source>
        <translation>Dedication (上款)</translation>
    </message>
    <message>
        <source>正文是空的：请写下要写的字。</source>
        <translation>The text is empty: write the characters to be written.</translation>
    </message>
    <message>
        <source>正文</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>对联要写两行：第一行上联，第二行下联。</source>
        <translation>A couplet has two lines: the first line and the second line.</translation>
    </message>
    <message>
        <source>对联每行</source>
        <translation>Each line of the couplet</translation>
    </message>
    <message>
        <source>横批</source>
        <translation>Horizontal scroll (横批)</translation>
    </message>
    <message>
        <source>落款放不下：对联的纸条太窄。</source>
        <translation>The inscription does not fit: the couplet strips are too narrow.</translation>
    </message>
    <message>
        <source>扇面放不下名章：落款后面没有地方了，请少写几个字或不盖名章。</source>
        <translation>The name seal does not fit on the fan leaf: there is no room after the inscription; write fewer characters or leave the name seal out.</translation>
    </message>
    <message>
        <source>扇面上不盖引首章：请去掉引首章。</source>
        <translation>A fan leaf takes no leading seal: please remove it.</translation>
    </message>
    <message>
        <source>扇面在 %1 dpi 下外半径是 %2 像素，折扇最大 %3 像素；请降低分辨率。</source>
        <translation>At %1 dpi the fan leaf has an outer radius of %2 pixels, and a fan at most %3; lower the resolution.</translation>
    </message>
    <message>
        <source>扇面在 %1 dpi 下外半径只有 %2 像素，太小了；请提高分辨率。</source>
        <translation>At %1 dpi the fan leaf has an outer radius of only %2 pixels, too small; raise the resolution.</translation>
    </message>
    <message>
        <source>落款太挤</source>
        <translation>The inscription is too crowded</translation>
    </message>
    <message>
        <source>纸张的长边和短边都要大于 0，长边不短于短边。</source>
        <translation>Both sides of the paper must be more than 0, and the long side no shorter than the short one.</translation>
    </message>
    <message>
        <source>这张纸在 %1 dpi 下是 %2 × %3 像素，超过了画布最大的 %4 × %4 像素；请降低分辨率。</source>
        <translation>At %1 dpi this paper is %2 × %3 pixels, more than the largest canvas of %4 × %4 pixels; lower the resolution.</translation>
    </message>
    <message>
        <source>四尺整张</source>
        <translation>Four-chi full sheet (四尺整张)</translation>
    </message>
    <message>
        <source>四尺对开</source>
        <translation>Four-chi half sheet (四尺对开)</translation>
    </message>
    <message>
        <source>斗方</source>
        <translation>Square (斗方)</translation>
    </message>
    <message>
        <source>对联</source>
        <translation>Couplet</translation>
    </message>
    <message>
        <source>扇面</source>
        <translation>Fan leaf (扇面)</translation>
    </message>
    <message>
        <source>条幅</source>
        <translation>Hanging scroll</translation>
    </message>
    <message>
        <source>中堂</source>
        <translation>Central scroll (中堂)</translation>
    </message>
    <message>
        <source>横幅</source>
        <translation>Horizontal scroll</translation>
    </message>
</context>
<context>
    <name>Text</name>
    <message>
        <source>无法读取繁简转换数据文件 %1。请安装 OpenCC 的数据（Debian 软件包 libopencc-data）。</source>
        <translation>Cannot read the Chinese conversion data file %1. Please install the OpenCC data (Debian package libopencc-data).</translation>
    </message>
    <message>
        <source>繁简转换失败：%1</source>
        <translation>Chinese conversion failed: %1</translation>
    </message>
    <message>
        <source>扇面放不下这段文字：每列最多 %1 个字，扇面最多 %2 列，还有 %3 个字排不下。</source>
        <translation>The text does not fit on the fan leaf: at most %1 characters a column and %2 columns; %3 characters are left over.</translation>
    </message>
    <message>
        <source>扇面放不下落款：落款每列最多 %1 个字，还有 %2 个字排不下。</source>
        <translation>The inscription does not fit on the fan leaf: at most %1 characters a column; %2 characters are left over.</translation>
    </message>
    <message>
        <source>扇面文字占 %1 列（落款 %2 列），扇面可排 %3 列；长列最多 %4 个字，短列 %5 个字。</source>
        <translation>The text takes %1 columns (the inscription %2) of the %3 on the fan leaf; long columns hold at most %4 characters, short ones %5.</translation>
    </message>
    <message>
        <source>字体“%1”中没有“%2”</source>
        <translation>font “%1” lacks “%2”</translation>
    </message>
    <message>
        <source>%1，改用后备字体画出。</source>
        <translation>%1; drawn with a fallback font.</translation>
    </message>
    <message>
        <source>，</source>
        <translation>; </translation>
    </message>
    <message>
        <source>文本太高：各行最大字号之和最多 %1 磅，这段文本有 %2 磅。</source>
        <translation>The text is too tall: the largest sizes of its lines may add up to %1 points; this text has %2.</translation>
    </message>
    <message>
        <source>文本太长：最多 %1 行，这段文本有 %2 行。</source>
        <translation>The text is too long: at most %1 lines; this text has %2.</translation>
    </message>
    <message>
        <source>文本太长：最多 %1 个字符，这段文本有 %2 个。</source>
        <translation>The text is too long: at most %1 characters; this text has %2.</translation>
    </message>
    <message>
        <source>Failed to Load Stream
无法打开文本%1：%2。</source>
        <translation>Failed to Load Stream
Cannot open the text %1: %2.</translation>
    </message>
    <message>
        <source>Failed to Save Stream
无法保存文本%1：%2。</source>
        <translation>Failed to Save Stream
Cannot save the text %1: %2.</translation>
    </message>
    <message>
        <source>这是 UTF-16 编码的文本，只能读取 UTF-8 或 GBK 编码的文本</source>
        <translation>This text is in UTF-16; only UTF-8 or GBK text can be read</translation>
    </message>
    <message>
        <source>文件中有空字符（U+0000），不是文本文件</source>
        <translation>The file contains null characters (U+0000) and is not a text file</translation>
    </message>
    <message>
        <source>文本既不是 UTF-8 也不是 GBK 编码</source>
        <translation>The text is neither UTF-8 nor GBK</translation>
    </message>
    <message>
        <source>文本格式太碎：最多 %1 段不同格式的文字。</source>
        <translation>The text formatting is too fragmented: at most %1 runs of differently formatted text.</translation>
    </message>
    <message>
        <source>无法打开文本%1：%2。</source>
        <translation>Cannot open the text %1: %2.</translation>
    </message>
    <message>
        <source>“%1”不是有效的整数。</source>
        <translation>“%1” is not a valid whole number.</translation>
    </message>
    <message>
        <source>字号 %1 超出范围：请输入 %2 到 %3 之间的整数（字高的像素数）。</source>
        <translation>Size %1 is out of range: enter a whole number from %2 to %3 (the character height in pixels).</translation>
    </message>
    <message>
        <source>文本尺寸为:%1*%2。</source>
        <translation>Text size: %1*%2.</translation>
    </message>
    <message>
        <source>文本超出图片范围了，请重新调整文本或者图片大小。</source>
        <translation>The text goes beyond the picture; adjust the text or the picture size.</translation>
    </message>
</context>
</TS>
