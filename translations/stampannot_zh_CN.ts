<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AutoInvoiceSealDlg</name>
    <message>
        <source>Dialog</source>
        <translation>对话框</translation>
    </message>
    <message>
        <source>AddInvoiceSeal</source>
        <translation>添加发票章</translation>
    </message>
    <message>
        <source>OnleFirstPage</source>
        <translation>仅首页</translation>
    </message>
    <message>
        <source>AllPage(Including bill details)</source>
        <translation>所有页（包括清单明细）</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>ChooseStampDialog</name>
    <message>
        <source>official seal = 42 x 42 mm</source>
        <translation>公章 = 42 x 42 mm</translation>
    </message>
    <message>
        <source>Special seal = 40 x 40 mm</source>
        <translation>专用章 = 40 x 40 mm</translation>
    </message>
    <message>
        <source>person private = 38 x 38 mm</source>
        <translation>个人私章 = 38 x 38 mm</translation>
    </message>
    <message>
        <source>contractual seal = 58 x 58 mm</source>
        <translation>合同专用章 = 58 x 58 mm</translation>
    </message>
    <message>
        <source>invoice seal = 40 x 30 mm</source>
        <translation>发票专用章 = 40 x 30 mm</translation>
    </message>
    <message>
        <source>foreign seal = 45 x 30 mm</source>
        <translation>涉外专用章 = 45 x 30 mm</translation>
    </message>
    <message>
        <source>Custom size</source>
        <translation>自定义尺寸</translation>
    </message>
    <message>
        <source>Waring</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Please choose stamp img</source>
        <translation>请选择印章图片</translation>
    </message>
    <message>
        <source>Add picture stamp</source>
        <translation>添加图片印章</translation>
    </message>
    <message>
        <source>Choose local img</source>
        <translation>选择本地图片</translation>
    </message>
    <message>
        <source>Supported img format:jpg,png,size can&apos;t be large than 2M.</source>
        <translation>支持的图片格式：jpg、png，大小不超过 2M。</translation>
    </message>
    <message>
        <source>Stamp size:</source>
        <translation>印章尺寸：</translation>
    </message>
    <message>
        <source>Stamp width:</source>
        <translation>印章宽度：</translation>
    </message>
    <message>
        <source>Stamp height:</source>
        <translation>印章高度：</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>Fixed scale</source>
        <translation>固定比例</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>GPI_BarcodeSaveImage</name>
    <message>
        <source>save file</source>
        <translation>保存文件</translation>
    </message>
    <message>
        <source>Save File Success!</source>
        <translation>文件保存成功！</translation>
    </message>
    <message>
        <source>error</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>Save File failed!</source>
        <translation>文件保存失败！</translation>
    </message>
</context>
<context>
    <name>GPI_InvoiceStampAnnot</name>
    <message>
        <source>Add success!</source>
        <translation>添加成功！</translation>
    </message>
</context>
<context>
    <name>GPI_StampAnnot</name>
    <message>
        <source>title</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The current document load context fail.</source>
        <translation>当前文档上下文加载失败。</translation>
    </message>
</context>
<context>
    <name>GP_Stamp</name>
    <message>
        <source>The current view zoom no more than 10%-500%, automatic recovery has been made.</source>
        <translation>当前视图缩放比例超出 10%-500% 的范围，已自动恢复。</translation>
    </message>
</context>
<context>
    <name>GT_Stamp</name>
    <message>
        <source>title</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The current document load context fail.</source>
        <translation>当前文档上下文加载失败。</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>choose img</source>
        <translation>选择图片</translation>
    </message>
    <message>
        <source>Img files(*.png *.jpg)</source>
        <translation>图片文件(*.png *.jpg)</translation>
    </message>
    <message>
        <source>tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The file format is corrupt. Please re select the picture.</source>
        <translation>文件格式已损坏，请重新选择图片。</translation>
    </message>
    <message>
        <source>invoice stamp</source>
        <translation>发票专用章</translation>
    </message>
</context>
<context>
    <name>StampDialog</name>
    <message>
        <source>AddPic</source>
        <translation>添加图片</translation>
    </message>
    <message>
        <source>CustomStamp</source>
        <translation>自定义印章</translation>
    </message>
    <message>
        <source>No usual stamp</source>
        <translation>暂无常用印章</translation>
    </message>
    <message>
        <source>No custom stamp</source>
        <translation>暂无自定义印章</translation>
    </message>
    <message>
        <source>page right</source>
        <translation>距页面右侧</translation>
    </message>
    <message>
        <source>page left</source>
        <translation>距页面左侧</translation>
    </message>
    <message>
        <source>page bottom</source>
        <translation>距页面底部</translation>
    </message>
    <message>
        <source>page top</source>
        <translation>距页面顶部</translation>
    </message>
    <message>
        <source>tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>The source file you specified could not be found, please select again.</source>
        <translation>找不到您指定的源文件，请重新选择。</translation>
    </message>
    <message>
        <source>Unable not find a custom stamp program!</source>
        <translation>找不到自定义印章程序！</translation>
    </message>
    <message>
        <source>Cannot find the sealmaker dynamic library!</source>
        <translation>找不到印章制作动态库！</translation>
    </message>
    <message>
        <source>Margins must not exceed the page range</source>
        <translation>边距不能超出页面范围</translation>
    </message>
    <message>
        <source>Warring</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>This file is read-only or occupied by another program. Please save it as a new file before proceeding.</source>
        <translation>该文件为只读文件或正被其他程序占用。请先另存为新文件，再继续操作。</translation>
    </message>
    <message>
        <source>Sure</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Usual stamp</source>
        <translation>常用印章</translation>
    </message>
    <message>
        <source>Standard stamp</source>
        <translation>标准印章</translation>
    </message>
    <message>
        <source>Custom stamp</source>
        <translation>自定义印章</translation>
    </message>
    <message>
        <source>applydigitalsignature</source>
        <translation>应用数字签名</translation>
    </message>
    <message>
        <source>Auto Stamp</source>
        <translation>自动盖章</translation>
    </message>
    <message>
        <source>（The stamp is automatically added to the specified location）</source>
        <translation>（印章将自动加盖到指定位置）</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>添加</translation>
    </message>
</context>
</TS>
