<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>HelpBrowser</name>
    <message>
        <source>&lt;p&gt;找不到页面：%1&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <source>Tarvel 使用手册</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>后退</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>前进</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关闭</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>找不到页面：%1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>内存不足，命令没有完成。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存不足，无法容纳这张图片</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PlatformDialogs</name>
    <message>
        <source>当前作品尚未保存，是否保存？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>是</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>否</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另存为…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>丢弃</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>以后再说</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ShapeDialog</name>
    <message>
        <source>设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>半径：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>线条颜色：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>填充颜色：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>新建或者打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加文本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加旋转字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加落款</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加印章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加圆形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加扇面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>特效</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>特效，建议放到最后处理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左移 10 像素</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右移 10 像素</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上移 10 像素</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下移 10 像素</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开作品</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存作品</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近的作品</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出脚本</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作品模板…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>添加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>旋转字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>落款</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圆形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扇形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帮助</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作者声明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用手册</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作者主页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>你好！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>欢迎使用Tarvel。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片已导出到“%1”，但作品还没有保存。是否保存作品？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当前作品尚未保存，是否保存？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已保存：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤消：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>恢复：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存不足，这一步没有写入恢复记录。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未命名作品</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上次没有保存的作品可以恢复：%1（%2 步，%3）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
恢复记录已经留在“%2”。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法启动浏览器。作者主页的地址是 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>语言</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法保存设置，语言没有改变。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新的语言在下次启动 Tarvel 时生效。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>导出 PDF…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视图</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>适合窗口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>实际大小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>缩小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未命名</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)|*.pdf</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已导出：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>适合纸张</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>脚本 (*.json)|*.json</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法按模板合成作品：无法读取图片%1：%2。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法按模板合成作品：%1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作品“%1”已经不在了（移走或删除了）。要把它从“最近的作品”中去掉吗？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>（无）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>图片设置窗口</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片大小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片长：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片宽：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>分辨率：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点/英寸</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>背景设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>背景颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>调色板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>背景图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片排列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>平铺</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拉伸</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>居中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm3</name>
    <message>
        <source>旋转字制作设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输入字：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>旋转角：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字间距：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字  号：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字  体：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜  色：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>放置方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>横向放置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>纵向放置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm4</name>
    <message>
        <source>印章设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内容</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印章宽：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印章高：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字间距：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>边缘宽：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>笔画粗：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>旋转角：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>大红</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>朱砂</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>朱磦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>平滑边缘</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>斑点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>压印</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>透底</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保持字形比例</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>补字同粗细</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印章形状与字数不合：字按原比例居中，四周留白</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印泥：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>边框宽：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>做旧：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>种子：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>做旧方式：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印章形状</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>直角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圆角</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>阴文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>阳文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>排列方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从左向右横排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从右向左横排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从左向右竖排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从右向左竖排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>预览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>清空</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm5</name>
    <message>
        <source>本程序是自由软件，按 GNU 通用公共许可证第 3 版或更新版本发布。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>来信交流：tarvel@example.org</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作者声明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm6</name>
    <message>
        <source>线粗：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>圆形</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm7</name>
    <message>
        <source>线条粗：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扇面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扇形</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>折扇</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内半径：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>角度：</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TForm8</name>
    <message>
        <source>Text File(*.rtf)|*.rtf|文本文件(*.txt)|*.txt</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本文件(*.rtf)|*.rtf|文本文件(*.txt)|*.txt|所有文件(*.*)|*.*</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>编辑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤销</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重做</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剪切</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复制</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自动换行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全选</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>居中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>加粗</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>倾斜</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下划线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新建|新建文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开|打开文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存|保存文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撤消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剪切|剪切所选对象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>复制|复制所选对象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>粘贴|粘贴对象</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>加粗|字体加粗</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>倾斜|字体倾斜</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下划线|文字下划线</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左对齐|文字左对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>居中|文字居中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>右对齐|文字右对齐</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>边距和间距</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左边距：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上边距：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字间距：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>行间距：</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文本排列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从左向右横排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从右向左横排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从左向右竖排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>从右向左竖排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原样</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>竖排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>句读</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无标点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数字写作汉字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>补字同粗细</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体缺的字从其他字体补上时，笔画加粗到与本字体一样</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>查看尺寸</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TemplateDialog</name>
    <message>
        <source>作品模板</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自定义</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正文；对联写两行：上联、下联</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>长短行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原样</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>竖排</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>居中</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>句读</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无标点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数字写作汉字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>纸张</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>厘米，分辨率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dpi（0 为自动）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>长 × 宽</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>底色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>墨色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>颜色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字体</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>正文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>横批</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上款</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>下款</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>引首章</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>扇面角度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画布 %1 × %2 像素（%3 × %4 厘米，%5 dpi）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
