<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BatchOptions</name>
    <message>
        <source>Usage: minireader stamp [options] INPUT.pdf [INPUT.pdf ...]

Puts a picture stamp on pages of PDF files through the reader&apos;s stamp plug-in, as its
auto-stamp panel places it, and saves stamped copies. Input files are never changed.

  -s, --stamp FILE|NAME  the stamp: a PNG or JPEG file, or a stamp of the library by
                         name (a standard stamp or one of your custom stamps: the
                         file name without its suffix, in any case). Required.
  -o, --output PATH      where the copies go (required). A PATH ending in .pdf that
                         is not a folder is the file for a single input; any other
                         PATH is a folder, made when missing, where each copy keeps
                         its input&apos;s file name.
  --output-file FILE     the copy of a single input, whatever FILE&apos;s suffix
  --size W[xH]           stamp size in whole millimetres; with W alone the height
                         follows the picture&apos;s shape. Default: the library entry&apos;s
                         size, or for a file its pixel size counted as points
                         (72 pixels = 25.4 mm), as the standard stamps are sized.
  --right MM, --left MM  distance from the page&apos;s right (default) or left edge, in
                         whole millimetres (default 0)
  --bottom MM, --top MM  distance from the page&apos;s bottom (default) or top edge, in
                         whole millimetres (default 0)
  -p, --pages PAGES      current (default: the page a newly opened document shows,
                         its first), all, or page numbers and ranges counted from 1:
                         1,3-5,last or 2-last
  --embed                draw the stamps into the page content instead of adding
                         them as stamp annotations
  --password PASSWORD    opens protected files (the same password for each; or set
                         STAMPREADER_PASSWORD)
  --render-png FILE      also writes a PNG picture (96 dpi) of the first stamped page,
                         drawn from the saved copy of the first input that succeeded
  -j, --jobs N           files stamped at the same time, one process each (default:
                         the number of processor cores)
  --progress             show the progress line even when standard error is not a
                         terminal
  -h, --help             this text

Each saved copy is reported on standard output; each file that could not be
stamped is named on standard error with the reason, and the other files are still
stamped. Exit status: 0 when every file was stamped and saved, 1 when any file
failed, 2 when nothing was tried (a wrong command line or a stamp not found).
</source>
        <translation>用法：minireader stamp [选项] 输入.pdf [输入.pdf ...]

通过阅读器的印章插件，按其自动盖章面板的方式在 PDF 文件的页面上加盖图片印章，
并保存盖章后的副本。输入文件本身不会被修改。

  -s, --stamp FILE|NAME  印章：PNG 或 JPEG 文件，或印章库中的印章名称（标准印章
                         或您的自定义印章：不含后缀的文件名，不区分大小写）。必填。
  -o, --output PATH      副本的保存位置（必填）。以 .pdf 结尾且不是文件夹的 PATH
                         为单个输入的副本文件；其他 PATH 均为文件夹（不存在时自动
                         创建），每个副本沿用其输入文件的文件名。
  --output-file FILE     单个输入的副本文件，不论 FILE 的后缀是什么
  --size W[xH]           印章尺寸，单位为整毫米；只给出 W 时高度按图片比例计算。
                         默认：印章库条目的尺寸；若为图片文件，则将其像素尺寸按点
                         计算（72 像素 = 25.4 毫米），与标准印章的尺寸计算方式相同。
  --right MM, --left MM  距页面右边缘（默认）或左边缘的距离，单位为整毫米
                         （默认 0）
  --bottom MM, --top MM  距页面下边缘（默认）或上边缘的距离，单位为整毫米
                         （默认 0）
  -p, --pages PAGES      current（默认：新打开文档显示的页面，即第一页）、all，
                         或从 1 开始计数的页码和页码范围：1,3-5,last 或 2-last
  --embed                将印章绘制到页面内容中，而不是作为印章注释添加
  --password PASSWORD    打开受保护的文件（所有文件使用同一密码；也可设置环境变量
                         STAMPREADER_PASSWORD）
  --render-png FILE      另外输出第一张已盖章页面的 PNG 图片（96 dpi），取自第一个
                         成功的输入所保存的副本
  -j, --jobs N           同时盖章的文件数，每个文件一个进程（默认：处理器核心数）
  --progress             即使标准错误输出不是终端，也显示进度行
  -h, --help             显示本帮助

每个已保存的副本会在标准输出中报告；无法盖章的文件会在标准错误输出中列出并说明
原因，其他文件照常盖章。退出状态：所有文件均已盖章并保存时为 0，有文件失败时为 1，
未执行任何操作时（命令行有误或找不到印章）为 2。
</translation>
    </message>
    <message>
        <source>--%1 is given more than once.</source>
        <translation>--%1 被指定了多次。</translation>
    </message>
    <message>
        <source>No input file: name the PDF files to stamp.</source>
        <translation>没有输入文件：请指定要盖章的 PDF 文件。</translation>
    </message>
    <message>
        <source>No stamp: give a picture file or a library stamp&apos;s name with --stamp.</source>
        <translation>没有指定印章：请用 --stamp 指定图片文件或印章库中的印章名称。</translation>
    </message>
    <message>
        <source>--output-file names the copy of a single input, without -o.</source>
        <translation>--output-file 指定单个输入的副本，不能与 -o 同时使用。</translation>
    </message>
    <message>
        <source>No output: give a folder (or, for one input, a .pdf file) with -o.</source>
        <translation>没有指定输出：请用 -o 指定文件夹（单个输入时也可指定 .pdf 文件）。</translation>
    </message>
    <message>
        <source>%1 input files go into a folder, but -o names the file %2.</source>
        <translation>%1 个输入文件需要保存到文件夹中，但 -o 指定的是文件 %2。</translation>
    </message>
    <message>
        <source>--size %1 is not a size: give whole millimetres as W or WxH, such as 40 or 40x30.</source>
        <translation>--size %1 不是有效的尺寸：请以整毫米给出 W 或 WxH，例如 40 或 40x30。</translation>
    </message>
    <message>
        <source>Give --%1 or --%2, not both.</source>
        <translation>请指定 --%1 或 --%2，不能同时指定。</translation>
    </message>
    <message>
        <source>--%1 %2 is not a margin: give whole millimetres, such as 10.</source>
        <translation>--%1 %2 不是有效的边距：请以整毫米给出，例如 10。</translation>
    </message>
    <message>
        <source>--jobs %1 is not a number of processes: give 1 or more.</source>
        <translation>--jobs %1 不是有效的进程数：请指定 1 或更大的数。</translation>
    </message>
</context>
<context>
    <name>BatchRunner</name>
    <message>
        <source>%1 cannot be read.</source>
        <translation>无法读取 %1。</translation>
    </message>
    <message>
        <source>preview: %1</source>
        <translation>预览：%1</translation>
    </message>
    <message>
        <source>wrote %1 (page %2 of %3)</source>
        <translation>已写入 %1（%3 的第 %2 页）</translation>
    </message>
    <message>
        <source>Try: minireader stamp --help</source>
        <translation>请尝试：minireader stamp --help</translation>
    </message>
    <message>
        <source>no private settings folder: %1</source>
        <translation>无法创建专用设置文件夹：%1</translation>
    </message>
    <message>
        <source>the stamp plug-in is not loaded (%1).</source>
        <translation>印章插件未加载（%1）。</translation>
    </message>
    <message>
        <source>its copy %1 would replace the copy of %2; stamp it into another folder.</source>
        <translation>其副本 %1 会覆盖 %2 的副本；请将其盖章输出到其他文件夹。</translation>
    </message>
    <message>
        <source>preview: no file was stamped.</source>
        <translation>预览：没有文件完成盖章。</translation>
    </message>
    <message>
        <source>%1 of %2 files could not be stamped: %3</source>
        <translation>%2 个文件中有 %1 个无法盖章：%3</translation>
    </message>
    <message>
        <source>its worker stopped unexpectedly.</source>
        <translation>处理它的工作进程意外终止。</translation>
    </message>
    <message>
        <source>its worker could not start: %1</source>
        <translation>无法启动处理它的工作进程：%1</translation>
    </message>
    <message>
        <source>stamping failed (exit code %1).</source>
        <translation>盖章失败（退出码 %1）。</translation>
    </message>
    <message>
        <source>stamped %1 of %2 files, %3 failed, %4 running</source>
        <translation>已盖章 %1/%2 个文件，%3 个失败，%4 个进行中</translation>
    </message>
</context>
<context>
    <name>BatchStamp</name>
    <message>
        <source>there is no picture file %1.</source>
        <translation>图片文件 %1 不存在。</translation>
    </message>
    <message>
        <source>the stamp plug-in is not loaded, so its library cannot be searched.</source>
        <translation>印章插件未加载，无法查找印章库。</translation>
    </message>
    <message>
        <source>there is no stamp named %1 in the library; its stamps are: %2.</source>
        <translation>印章库中没有名为 %1 的印章；库中的印章有：%2。</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>%1 stamps of the library are named %2: %3. Give the picture file instead.</source>
        <translation>印章库中有 %1 个名为 %2 的印章：%3。请改为指定图片文件。</translation>
    </message>
    <message>
        <source>%1 is not a picture that can be read (%2).</source>
        <translation>%1 不是可读取的图片（%2）。</translation>
    </message>
    <message>
        <source>the stamp picker has no auto-stamp panel.</source>
        <translation>印章选择面板中没有自动盖章面板。</translation>
    </message>
    <message>
        <source>the auto-stamp panel offers no &quot;%1&quot; or no &quot;%2&quot;.</source>
        <translation>自动盖章面板中没有“%1”或“%2”选项。</translation>
    </message>
    <message>
        <source>the auto-stamp panel refuses the margins (%1 mm, %2 mm): they lie past the page.</source>
        <translation>自动盖章面板不接受该边距（%1 毫米，%2 毫米）：超出了页面范围。</translation>
    </message>
    <message>
        <source>the stamp picker cannot be told which stamp to place.</source>
        <translation>无法在印章选择面板中选定要加盖的印章。</translation>
    </message>
    <message>
        <source>the copy would replace the file itself; give another output.</source>
        <translation>副本会覆盖原文件；请指定其他输出位置。</translation>
    </message>
    <message>
        <source>the copy cannot be written: %1 is a folder.</source>
        <translation>无法写入副本：%1 是文件夹。</translation>
    </message>
    <message>
        <source>Give it with --password.</source>
        <translation>请用 --password 提供密码。</translation>
    </message>
    <message>
        <source>saving %1 failed: %2</source>
        <translation>保存 %1 失败：%2</translation>
    </message>
    <message>
        <source>, embedded</source>
        <translation>，已嵌入页面</translation>
    </message>
    <message>
        <source>saved %1 (1 page stamped%2)</source>
        <translation>已保存 %1（已盖章 1 页%2）</translation>
    </message>
    <message>
        <source>saved %1 (%2 pages stamped%3)</source>
        <translation>已保存 %1（已盖章 %2 页%3）</translation>
    </message>
    <message>
        <source>page %1: </source>
        <translation>第 %1 页：</translation>
    </message>
    <message>
        <source>the stamp plug-in is not loaded: &quot;ti_stamp&quot; is unknown.</source>
        <translation>印章插件未加载：无法识别“ti_stamp”。</translation>
    </message>
    <message>
        <source>no stamp was placed.</source>
        <translation>没有加盖印章。</translation>
    </message>
    <message>
        <source>the stamp reaches past the page&apos;s edge.</source>
        <translation>印章超出了页面边缘。</translation>
    </message>
    <message>
        <source>the stamp could not be embedded into the page.</source>
        <translation>无法将印章嵌入页面。</translation>
    </message>
    <message>
        <source>stamping %1: page %2 of %3</source>
        <translation>正在为 %1 盖章：第 %2 页，共 %3 页</translation>
    </message>
    <message>
        <source>%1 cannot be drawn.</source>
        <translation>无法绘制 %1。</translation>
    </message>
    <message>
        <source>page %1 of %2 cannot be drawn.</source>
        <translation>无法绘制 %2 的第 %1 页。</translation>
    </message>
    <message>
        <source>the picture %1 cannot be written.</source>
        <translation>无法写入图片 %1。</translation>
    </message>
</context>
<context>
    <name>GP_DigitalSignature</name>
    <message>
        <source>The annotation %1 on page %2 would be signed now. Digital signatures are not available in this reader yet.</source>
        <translation>此时将对第 %2 页上的注释 %1 进行签名。本阅读器暂不支持数字签名。</translation>
    </message>
    <message>
        <source>Digital signature</source>
        <translation>数字签名</translation>
    </message>
</context>
<context>
    <name>G_CommandBarModel</name>
    <message>
        <source>Home</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Hand</source>
        <translation>手型</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>选择</translation>
    </message>
    <message>
        <source>Stamp</source>
        <translation>印章</translation>
    </message>
    <message>
        <source>Annotations</source>
        <translation>注释</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>缩小</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>放大</translation>
    </message>
    <message>
        <source>Fit Width</source>
        <translation>适合宽度</translation>
    </message>
    <message>
        <source>Fit Page</source>
        <translation>适合页面</translation>
    </message>
    <message>
        <source>Receipt</source>
        <translation>回执</translation>
    </message>
    <message>
        <source>Invoice Seal</source>
        <translation>发票专用章</translation>
    </message>
</context>
<context>
    <name>G_ContextMenu</name>
    <message>
        <source>Delete</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Embed into page</source>
        <translation>嵌入页面</translation>
    </message>
    <message>
        <source>Apply signature</source>
        <translation>应用签名</translation>
    </message>
</context>
<context>
    <name>G_DocView</name>
    <message>
        <source>Add annotation</source>
        <translation>添加注释</translation>
    </message>
    <message>
        <source>Delete annotation</source>
        <translation>删除注释</translation>
    </message>
    <message>
        <source>Move annotation</source>
        <translation>移动注释</translation>
    </message>
    <message>
        <source>Resize annotation</source>
        <translation>调整注释大小</translation>
    </message>
    <message>
        <source>Add stamps</source>
        <translation>添加印章</translation>
    </message>
</context>
<context>
    <name>G_Operation</name>
    <message>
        <source>Read-only document</source>
        <translation>只读文档</translation>
    </message>
    <message>
        <source>This document is read-only and cannot be changed. Save a copy to work on it.</source>
        <translation>此文档为只读文档，无法修改。请另存一份副本后再编辑。</translation>
    </message>
</context>
<context>
    <name>G_UIContext</name>
    <message>
        <source>Prompt</source>
        <translation>提示</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Reader</source>
        <translation>阅读器</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>页面</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>打开(&amp;O)...</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>最近打开(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>另存为(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>编辑(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>视图(&amp;V)</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>放大(&amp;I)</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>缩小(&amp;O)</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>实际大小(&amp;A)</translation>
    </message>
    <message>
        <source>Fit &amp;Width</source>
        <translation>适合宽度(&amp;W)</translation>
    </message>
    <message>
        <source>Fit &amp;Page</source>
        <translation>适合页面(&amp;P)</translation>
    </message>
    <message>
        <source>Show &amp;Annotations</source>
        <translation>显示注释(&amp;A)</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>页码</translation>
    </message>
    <message>
        <source>%1 is protected by a password. Enter the password to open it:</source>
        <translation>%1 受密码保护。请输入密码以打开：</translation>
    </message>
    <message>
        <source>The password is not correct. Enter the password for %1:</source>
        <translation>密码不正确。请输入 %1 的密码：</translation>
    </message>
    <message>
        <source>Open Document</source>
        <translation>打开文档</translation>
    </message>
    <message>
        <source>%1 could not be opened: %2</source>
        <translation>无法打开 %1：%2</translation>
    </message>
    <message>
        <source>Close Document</source>
        <translation>关闭文档</translation>
    </message>
    <message>
        <source>%1 has changes. Save them?</source>
        <translation>%1 已被修改。是否保存更改？</translation>
    </message>
    <message>
        <source>%1 - Reader</source>
        <translation>%1 - 阅读器</translation>
    </message>
    <message>
        <source>Save Document As</source>
        <translation>文档另存为</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF 文档 (*.pdf)</translation>
    </message>
    <message>
        <source>Save Document</source>
        <translation>保存文档</translation>
    </message>
    <message>
        <source>The document could not be saved: %1</source>
        <translation>无法保存文档：%1</translation>
    </message>
    <message>
        <source>The document was written as a whole new file instead of adding the changes to it. %1</source>
        <translation>文档已作为全新文件重新写入，而不是在原文件上追加更改。%1</translation>
    </message>
    <message>
        <source>Its digital signatures no longer match it.</source>
        <translation>文档中的数字签名已与其内容不符。</translation>
    </message>
    <message>
        <source>Stamp</source>
        <translation>印章</translation>
    </message>
    <message>
        <source>No stamp plug-in is loaded.</source>
        <translation>未加载印章插件。</translation>
    </message>
    <message>
        <source>Documents (*.pdf *.ofd)</source>
        <translation>文档 (*.pdf *.ofd)</translation>
    </message>
    <message>
        <source>of %1</source>
        <translation>/ %1</translation>
    </message>
    <message>
        <source>%1 %</source>
        <translation>%1%</translation>
    </message>
</context>
<context>
    <name>PageList</name>
    <message>
        <source>The page list is empty: give current, all, or pages such as 1,3-5,last.</source>
        <translation>页码列表为空：请指定 current、all 或页码，例如 1,3-5,last。</translation>
    </message>
    <message>
        <source>The page list &quot;%1&quot; has an empty entry.</source>
        <translation>页码列表“%1”中有空项。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; in the page list is not a page: pages count from 1 and are written as 3, 3-5, last or 3-last.</source>
        <translation>页码列表中的“%1”不是有效页码：页码从 1 开始计数，写法如 3、3-5、last 或 3-last。</translation>
    </message>
    <message>
        <source>The range %1 in the page list runs backwards.</source>
        <translation>页码列表中的范围 %1 起止顺序颠倒。</translation>
    </message>
    <message>
        <source>The document has no pages.</source>
        <translation>文档没有页面。</translation>
    </message>
    <message>
        <source>The range %1-%2 runs backwards: the document has %3 pages.</source>
        <translation>范围 %1-%2 起止顺序颠倒：文档共有 %3 页。</translation>
    </message>
    <message>
        <source>Page %1 is past the end: the document has %2 pages.</source>
        <translation>第 %1 页超出文档末尾：文档共有 %2 页。</translation>
    </message>
</context>
<context>
    <name>PluginManager</name>
    <message>
        <source>no plug-in folder %1</source>
        <translation>插件文件夹 %1 不存在</translation>
    </message>
    <message>
        <source>skipped %1: not a reader plug-in</source>
        <translation>已跳过 %1：不是阅读器插件</translation>
    </message>
    <message>
        <source>skipped %1: %2</source>
        <translation>已跳过 %1：%2</translation>
    </message>
    <message>
        <source>skipped %1: initialisation failed: %2</source>
        <translation>已跳过 %1：初始化失败：%2</translation>
    </message>
    <message>
        <source>loaded %1</source>
        <translation>已加载 %1</translation>
    </message>
</context>
<context>
    <name>SignedEmbedGuard</name>
    <message>
        <source>Embed Stamp</source>
        <translation>嵌入印章</translation>
    </message>
    <message>
        <source>This document is digitally signed. Embedding the stamp into the page changes the signed content, and the signatures will no longer match it. Embed it anyway?</source>
        <translation>此文档已有数字签名。将印章嵌入页面会改变已签名的内容，签名将与文档不再相符。仍要嵌入吗？</translation>
    </message>
</context>
<context>
    <name>StampMakerWindow</name>
    <message>
        <source>Star in the middle</source>
        <translation>中间加五角星</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Make a stamp</source>
        <translation>制作印章</translation>
    </message>
    <message>
        <source>Round</source>
        <translation>圆形</translation>
    </message>
    <message>
        <source>Oval</source>
        <translation>椭圆形</translation>
    </message>
    <message>
        <source>Text along the edge</source>
        <translation>沿边缘排列的文字</translation>
    </message>
    <message>
        <source>Text across the middle</source>
        <translation>横排在中间的文字</translation>
    </message>
    <message>
        <source>Shape</source>
        <translation>形状</translation>
    </message>
    <message>
        <source>Arc text</source>
        <translation>弧形文字</translation>
    </message>
    <message>
        <source>Centre text</source>
        <translation>中间文字</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>颜色</translation>
    </message>
    <message>
        <source>Size (width × height)</source>
        <translation>尺寸（宽 × 高）</translation>
    </message>
    <message>
        <source>Connecting to the reader on port %1…</source>
        <translation>正在通过端口 %1 连接阅读器…</translation>
    </message>
    <message>
        <source>Saved stamps go to the reader&apos;s custom stamps.</source>
        <translation>保存的印章将加入阅读器的自定义印章。</translation>
    </message>
    <message>
        <source>Seal colour</source>
        <translation>印章颜色</translation>
    </message>
    <message>
        <source>Saved as %1.</source>
        <translation>已保存为 %1。</translation>
    </message>
    <message>
        <source>Saved as %1; adding it to the reader…</source>
        <translation>已保存为 %1，正在添加到阅读器…</translation>
    </message>
    <message>
        <source>Saved as %1 and added to the reader&apos;s custom stamps.</source>
        <translation>已保存为 %1，并已添加到阅读器的自定义印章。</translation>
    </message>
    <message>
        <source>%1
The picture is kept as %2; you can add it from the stamp picker&apos;s Add menu.</source>
        <translation>%1
图片已保存为 %2，您可以从印章选择器的“添加”菜单中添加它。</translation>
    </message>
</context>
<context>
    <name>Utils::Widgets::Nex_MessageBox</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>全部保存</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Yes to All</source>
        <translation>全部是</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>忽略</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>No to All</source>
        <translation>全部否</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>不保存</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>恢复默认值</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Usage: minireader [FILE...]
       minireader stamp [options] FILE...

Without a command the reader opens its window, with each FILE (PDF or OFD) in a
tab of its own.

  stamp                  stamps files without a window; minireader stamp --help
                         tells how
  --list-registrations   prints the operations, tools and handlers that the
                         reader and its plug-ins registered
  --help                 prints this text
</source>
        <translation>用法：minireader [文件...]
      minireader stamp [选项] 文件...

不带命令时阅读器打开窗口，每个文件（PDF 或 OFD）各占一个标签页。

  stamp                  不打开窗口为文件盖章；用法见 minireader stamp --help
  --list-registrations   列出阅读器及其插件注册的操作、工具和处理器
  --help                 显示本说明
</translation>
    </message>
</context>
</TS>
