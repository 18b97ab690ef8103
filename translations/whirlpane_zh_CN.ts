<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Whirlpane::AdjustmentController</name>
    <message>
        <source>Edit Image</source>
        <extracomment>The Edit editor&apos;s window title: adjust the colours, turn and mirror.</extracomment>
        <translation>编辑图像</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Edit editor&apos;s Save button.</extracomment>
        <translation>保存</translation>
    </message>
    <message>
        <source>Brightness</source>
        <extracomment>The slider that makes the picture lighter or darker.</extracomment>
        <translation>亮度</translation>
    </message>
    <message>
        <source>Contrast</source>
        <extracomment>The slider of the difference between light and dark.</extracomment>
        <translation>对比度</translation>
    </message>
    <message>
        <source>Saturation</source>
        <extracomment>The slider of the colours&apos; strength.</extracomment>
        <translation>饱和度</translation>
    </message>
    <message>
        <source>Rotate 90°</source>
        <extracomment>A quarter turn clockwise.</extracomment>
        <translation>旋转 90°</translation>
    </message>
    <message>
        <source>Flip</source>
        <extracomment>Mirror the picture, left to right.</extracomment>
        <translation>水平翻转</translation>
    </message>
</context>
<context>
    <name>Whirlpane::Autostart</name>
    <message>
        <source>Could not remove &quot;%1&quot;</source>
        <extracomment>Turning off &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>无法移除“%1”</translation>
    </message>
    <message>
        <source>Could not create &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the folder of login entries.</extracomment>
        <translation>无法创建“%1”</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>无法写入“%1”</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundController</name>
    <message>
        <source>Add BG</source>
        <extracomment>The Add BG editor&apos;s window title: put the picture on a backdrop. &quot;BG&quot; is short for background; translate it in full where it fits.</extracomment>
        <translation>添加背景</translation>
    </message>
    <message>
        <source>Save with Background</source>
        <extracomment>The Add BG editor&apos;s Save button.</extracomment>
        <translation>带背景保存</translation>
    </message>
    <message>
        <source>Background</source>
        <extracomment>The label before the rows of backdrops to choose from.</extracomment>
        <translation>背景</translation>
    </message>
    <message>
        <source>%1 background</source>
        <extracomment>A backdrop&apos;s name for screen readers; %1 is its name, such as Sunset or Blue.</extracomment>
        <translation>“%1”背景</translation>
    </message>
    <message>
        <source>Choose background image</source>
        <extracomment>The button that picks a photograph of the user&apos;s as the backdrop.</extracomment>
        <translation>选择背景图像</translation>
    </message>
    <message>
        <source>Custom colour</source>
        <extracomment>The button that picks a colour of the user&apos;s own as the backdrop.</extracomment>
        <translation>自定义颜色</translation>
    </message>
    <message>
        <source>Padding</source>
        <extracomment>The slider of the space between the picture and the edge of the backdrop.</extracomment>
        <translation>边距</translation>
    </message>
    <message>
        <source>Corners</source>
        <extracomment>The slider of how round the picture&apos;s corners are.</extracomment>
        <translation>圆角</translation>
    </message>
    <message>
        <source>Shadow</source>
        <extracomment>The slider of the shadow under the picture.</extracomment>
        <translation>阴影</translation>
    </message>
    <message>
        <source>Ratio</source>
        <extracomment>The label before the backdrop&apos;s aspect ratios.</extracomment>
        <translation>比例</translation>
    </message>
    <message>
        <source>Images</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>图像</translation>
    </message>
    <message>
        <source>At full size this is too large to save; it will be saved at %1 × %2 pixels, scaled down.</source>
        <extracomment>Add BG&apos;s note when the result at full size would be too large; %1 × %2 is the smaller size in pixels that Save writes instead.</extracomment>
        <translation>按原始尺寸过大，无法保存；将缩小为 %1 × %2 像素保存。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundRatio</name>
    <message>
        <source>Auto</source>
        <extracomment>The backdrop&apos;s first aspect ratio: follow the padded picture.</extracomment>
        <translation>自动</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundStyle</name>
    <message>
        <source>Sunset</source>
        <translation>日落</translation>
    </message>
    <message>
        <source>Daybreak</source>
        <translation>破晓</translation>
    </message>
    <message>
        <source>Sorbet</source>
        <translation>雪葩</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>云朵</translation>
    </message>
    <message>
        <source>Lavender</source>
        <translation>薰衣草</translation>
    </message>
    <message>
        <source>Garden</source>
        <translation>花园</translation>
    </message>
    <message>
        <source>Sky</source>
        <translation>天空</translation>
    </message>
    <message>
        <source>Lagoon</source>
        <translation>潟湖</translation>
    </message>
    <message>
        <source>Ice</source>
        <translation>冰雪</translation>
    </message>
    <message>
        <source>Dusk</source>
        <translation>黄昏</translation>
    </message>
    <message>
        <source>Mint</source>
        <translation>薄荷</translation>
    </message>
    <message>
        <source>White</source>
        <translation>白色</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>黄色</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>青柠</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>青绿</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>青色</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <source>Charcoal</source>
        <translation>炭灰</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>紫色</translation>
    </message>
    <message>
        <source>Pink</source>
        <translation>粉色</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>红色</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>橙色</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>黑色</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BatchConversion</name>
    <message>
        <source>The conversion stopped unexpectedly (%1).</source>
        <extracomment>A conversion&apos;s worker process ended by a signal; %1 names the signal (&quot;Killed&quot;).</extracomment>
        <translation>转换意外停止（%1）。</translation>
    </message>
    <message>
        <source>The conversion failed without saying why (status %1).</source>
        <extracomment>A conversion&apos;s worker process failed and gave no reason; %1 is its exit status.</extracomment>
        <translation>转换失败，未给出原因（状态 %1）。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CompressionController</name>
    <message>
        <source>Compress</source>
        <extracomment>The Compress editor&apos;s window title: the tool that makes a file smaller.</extracomment>
        <translation>压缩</translation>
    </message>
    <message>
        <source>Compress &amp; Save</source>
        <extracomment>The Compress editor&apos;s Save button.</extracomment>
        <translation>压缩并保存</translation>
    </message>
    <message>
        <source>Quality</source>
        <extracomment>The slider of the JPEG or WebP quality the file is written at.</extracomment>
        <translation>质量</translation>
    </message>
    <message>
        <source>Lower quality makes a smaller file. A new copy is saved beside the original.</source>
        <translation>质量越低，文件越小。新副本将保存在原文件旁边。</translation>
    </message>
    <message>
        <source>Original: %1</source>
        <extracomment>The size of the file as it is; %1 is a size such as &quot;2.4 MB&quot;.</extracomment>
        <translation>原始大小：%1</translation>
    </message>
    <message>
        <source>The copy carries no metadata: the date taken, the place and the camera are left out too.</source>
        <extracomment>Below the slider: what the compressed copy of a photo leaves out of the file.</extracomment>
        <translation>副本不含元数据：拍摄日期、地点和相机信息也会一并去除。</translation>
    </message>
    <message>
        <source>New copy: estimating…</source>
        <extracomment>Beside the original&apos;s size while the size of the compressed copy is worked out.</extracomment>
        <translation>新副本：正在估算…</translation>
    </message>
    <message>
        <source>New copy: about %1</source>
        <extracomment>The size the compressed copy will have; %1 is a size such as &quot;1.2 MB&quot;.</extracomment>
        <translation>新副本：约 %1</translation>
    </message>
    <message>
        <source>New copy: no smaller</source>
        <extracomment>Beside the original&apos;s size: at this quality the copy would not be smaller.</extracomment>
        <translation>新副本：不会更小</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropCanvas</name>
    <message>
        <source>Crop selection. Drag edges or corners to resize; drag inside to move.</source>
        <extracomment>The crop area&apos;s name for screen readers, with how to use it.</extracomment>
        <translation>裁剪选区。拖动边缘或角可调整大小；拖动内部可移动选区。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropController</name>
    <message>
        <source>Crop Image</source>
        <extracomment>The Crop editor&apos;s window title.</extracomment>
        <translation>裁剪图像</translation>
    </message>
    <message>
        <source>Apply</source>
        <extracomment>The Crop editor&apos;s Save button: save the cut picture.</extracomment>
        <translation>应用</translation>
    </message>
    <message>
        <source>Aspect ratio</source>
        <extracomment>The label before the choices of the cut&apos;s shape (free, square, 16:9 ...).</extracomment>
        <translation>宽高比</translation>
    </message>
    <message>
        <source>Free</source>
        <extracomment>The first choice of the aspect ratio: any shape.</extracomment>
        <translation>自由</translation>
    </message>
    <message>
        <source>W</source>
        <extracomment>Short for width, before the width field (one or two letters).</extracomment>
        <translation>宽</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <extracomment>The width field&apos;s name for screen readers.</extracomment>
        <translation>宽度（像素）</translation>
    </message>
    <message>
        <source>H</source>
        <extracomment>Short for height, before the height field (one or two letters).</extracomment>
        <translation>高</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <extracomment>The height field&apos;s name for screen readers.</extracomment>
        <translation>高度（像素）</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorCoordinator</name>
    <message>
        <source>The “%1” editor is not available.</source>
        <extracomment>%1 is the name of an editor asked for that does not exist.</extracomment>
        <translation>“%1”编辑器不可用。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorFrame</name>
    <message>
        <source>The image could not be rendered.</source>
        <extracomment>An editor could not make the picture it was to save.</extracomment>
        <translation>无法生成图像。</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <extracomment>An editor&apos;s save failed without a reason of its own.</extracomment>
        <translation>无法保存文件。</translation>
    </message>
    <message>
        <source>Close %1</source>
        <extracomment>The close button&apos;s name for screen readers; %1 is the editor&apos;s title.</extracomment>
        <translation>关闭“%1”</translation>
    </message>
    <message>
        <source>Reset</source>
        <extracomment>The editor&apos;s button that undoes every change made in the window.</extracomment>
        <translation>重置</translation>
    </message>
    <message>
        <source>Saving…</source>
        <extracomment>The action bar&apos;s status line while the new file is written.</extracomment>
        <translation>正在保存…</translation>
    </message>
    <message>
        <source>Loading…</source>
        <extracomment>The action bar&apos;s status line while an editor decodes the whole picture; the window shows a reduced copy meanwhile.</extracomment>
        <translation>正在加载…</translation>
    </message>
    <message>
        <source>Could not open</source>
        <extracomment>The action bar&apos;s status line when the whole picture could not be decoded; nothing can be saved.</extracomment>
        <translation>无法打开</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorTable</name>
    <message>
        <source>COMPRESS</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that makes a file smaller.</extracomment>
        <translation>压缩</translation>
    </message>
    <message>
        <source>METADATA</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that shows and removes a file&apos;s metadata.</extracomment>
        <translation>元数据</translation>
    </message>
    <message>
        <source>EDIT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: adjust brightness, contrast and saturation, turn and mirror.</extracomment>
        <translation>编辑</translation>
    </message>
    <message>
        <source>ANNOTATE</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: draw and write on the picture.</extracomment>
        <translation>标注</translation>
    </message>
    <message>
        <source>ADD BG</source>
        <extracomment>A wedge of the tools wheel, in capitals, short for &quot;add background&quot;: put the picture on a backdrop. Keep it as short; an abbreviation is fine.</extracomment>
        <translation>加背景</translation>
    </message>
    <message>
        <source>CROP</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: cut the picture to a rectangle.</extracomment>
        <translation>裁剪</translation>
    </message>
    <message>
        <source>REDACT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: black out parts of the picture.</extracomment>
        <translation>涂黑</translation>
    </message>
    <message>
        <source>The file changed while it was opened.</source>
        <extracomment>An editor&apos;s picture changed on disk while the editor was opening it.</extracomment>
        <translation>文件在打开时发生了更改。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ErrorAlert</name>
    <message>
        <source>Couldn’t complete this file</source>
        <extracomment>The alert&apos;s heading; the reason follows below it.</extracomment>
        <translation>无法处理此文件</translation>
    </message>
    <message numerus="yes">
        <source>Couldn’t complete %n files</source>
        <extracomment>The alert&apos;s heading over the reasons of several files, %n of them (2 or more).</extracomment>
        <translation>
            <numerusform>无法处理 %n 个文件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::IntroductionWindow</name>
    <message>
        <source>Drag an image or PDF in your file manager and hold still for a moment. A wheel appears around your pointer. Drop on a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where the wheel comes up during drags (X11).</extracomment>
        <translation>在文件管理器中拖动图像或 PDF，并稍作停留，指针周围就会出现一个轮盘。拖放到某个格式上即可转换。</translation>
    </message>
    <message>
        <source>Press Alt while dragging to switch to Crop, Add BG, and the other tools. Press it again to switch back.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>拖动时按 Alt 可切换到“裁剪”“加背景”等工具，再按一次即可切换回来。</translation>
    </message>
    <message>
        <source>Click the center to switch wheels; drag it to move. Escape dismisses. Ctrl+Alt+Space opens or hides the wheel.</source>
        <extracomment>The centre is the middle of the wheel; dragging it moves the wheel.</extracomment>
        <translation>单击中心可切换轮盘；拖动中心可移动轮盘。按 Esc 关闭。按 Ctrl+Alt+Space 可打开或隐藏轮盘。</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Whirlpane lives in the system tray, with no window of its own.</source>
        <translation>新文件保存在原文件旁边。Whirlpane 驻留在系统托盘中，没有自己的窗口。</translation>
    </message>
    <message>
        <source>Your files. One gesture.</source>
        <extracomment>The introduction&apos;s heading, a slogan: everything is done with one drag.</extracomment>
        <translation>您的文件，一个手势。</translation>
    </message>
    <message>
        <source>Open a File…</source>
        <extracomment>The introduction&apos;s button: opens the file chooser.</extracomment>
        <translation>打开文件…</translation>
    </message>
    <message>
        <source>To open the wheel with a key of your choice, add a custom shortcut that runs “whirlpane --show-wheel”: in GNOME under Settings › Keyboard › View and Customize Shortcuts › Custom Shortcuts; in KDE Plasma under System Settings › Keyboard › Shortcuts › Add New › Command or Script.</source>
        <extracomment>How to bind &quot;whirlpane --show-wheel&quot; to a key on desktops that take no key grabs; the menu paths are those of GNOME Settings and KDE Plasma&apos;s System Settings.</extracomment>
        <translation>要用自选的按键打开轮盘，请添加一个运行“whirlpane --show-wheel”的自定义快捷键：GNOME 中在“设置 › 键盘 › 查看及自定义快捷键 › 自定义快捷键”；KDE Plasma 中在“系统设置 › 键盘 › 快捷键 › 添加新项 › 命令或脚本”。</translation>
    </message>
    <message>
        <source>Drag an image or PDF from your file manager onto Whirlpane’s window and drop it on a format to convert, or on the center to open the wheel for it.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched and no tray shows Whirlpane (GNOME): its own window takes the files.</extracomment>
        <translation>将图像或 PDF 从文件管理器拖到 Whirlpane 窗口上：拖放到某个格式上即可转换，拖放到中心则为它打开轮盘。</translation>
    </message>
    <message>
        <source>Press Ctrl+Alt+Space or choose Show Wheel in the tray menu, and a wheel appears. Drag an image or PDF from your file manager onto a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched but a tray exists (Wayland, KDE Plasma); &quot;Show Wheel&quot; is the tray menu&apos;s item of that name.</extracomment>
        <translation>按 Ctrl+Alt+Space 或在托盘菜单中选择“显示轮盘”，就会出现一个轮盘。将图像或 PDF 从文件管理器拖到某个格式上即可转换。</translation>
    </message>
    <message>
        <source>Hold Alt as you drag over the window for Crop, Add BG, and the other tools.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>在窗口上拖动时按住 Alt，即可使用“裁剪”“加背景”等工具。</translation>
    </message>
    <message>
        <source>Click the center of the wheel or press Tab to switch to Crop, Add BG, and the other tools.</source>
        <translation>单击轮盘中心或按 Tab 可切换到“裁剪”“加背景”等工具。</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Closing Whirlpane’s window ends the program.</source>
        <translation>新文件保存在原文件旁边。关闭 Whirlpane 窗口即退出程序。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::LaunchOptions</name>
    <message>
        <source>%1 needs a value: see whirlpane --help.</source>
        <translation>%1 需要一个值：请参阅 whirlpane --help。</translation>
    </message>
    <message>
        <source>%1 is not an option of Whirlpane: see whirlpane --help.</source>
        <translation>%1 不是 Whirlpane 的选项：请参阅 whirlpane --help。</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>“%1”不存在。</translation>
    </message>
    <message>
        <source>“%1” is a folder; choose the files in it.</source>
        <translation>“%1”是一个文件夹；请选择其中的文件。</translation>
    </message>
    <message>
        <source>Whirlpane does not open “%1”: images and PDFs only.</source>
        <translation>Whirlpane 无法打开“%1”：仅支持图像和 PDF。</translation>
    </message>
    <message>
        <source>--to and --editor cannot be used together.</source>
        <translation>--to 和 --editor 不能同时使用。</translation>
    </message>
    <message>
        <source>Name the files to convert: whirlpane --to FORMAT FILE...</source>
        <translation>请指定要转换的文件：whirlpane --to FORMAT FILE...</translation>
    </message>
    <message>
        <source>Name the file to edit: whirlpane --editor EDITOR FILE</source>
        <translation>请指定要编辑的文件：whirlpane --editor EDITOR FILE</translation>
    </message>
    <message>
        <source>“%1” is not an editor of Whirlpane: %2.</source>
        <translation>“%1”不是 Whirlpane 的编辑器：%2。</translation>
    </message>
    <message>
        <source>“%1” is not a format Whirlpane converts to.</source>
        <translation>“%1”不是 Whirlpane 可以转换到的格式。</translation>
    </message>
    <message>
        <source>“%1” cannot be converted to %2.</source>
        <translation>“%1”无法转换为 %2。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MarkupController</name>
    <message>
        <source>Redact Image</source>
        <extracomment>The Redact editor&apos;s window title: black out parts of the picture.</extracomment>
        <translation>涂黑图像</translation>
    </message>
    <message>
        <source>Annotate Image</source>
        <extracomment>The Annotate editor&apos;s window title: draw and write on the picture.</extracomment>
        <translation>标注图像</translation>
    </message>
    <message>
        <source>Save Redacted</source>
        <extracomment>The Redact editor&apos;s Save button.</extracomment>
        <translation>涂黑并保存</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Annotate editor&apos;s Save button.</extracomment>
        <translation>保存</translation>
    </message>
    <message>
        <source>Drag over sensitive areas to cover them with solid pixels.</source>
        <translation>在敏感区域上拖动，用不透明的像素将其覆盖。</translation>
    </message>
    <message>
        <source>Exported redactions cannot be removed.</source>
        <translation>导出后的涂黑区域无法移除。</translation>
    </message>
    <message>
        <source>Text</source>
        <extracomment>The text a new label on the picture shows until the user types another.</extracomment>
        <translation>文本</translation>
    </message>
    <message>
        <source>Pen</source>
        <extracomment>Annotate&apos;s tool that draws freehand lines.</extracomment>
        <translation>画笔</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <extracomment>Annotate&apos;s tool that draws rectangles.</extracomment>
        <translation>矩形</translation>
    </message>
    <message>
        <source>Arrow</source>
        <extracomment>Annotate&apos;s tool that draws arrows.</extracomment>
        <translation>箭头</translation>
    </message>
    <message>
        <source>Text</source>
        <comment>tool</comment>
        <extracomment>Annotate&apos;s tool that places text; a noun.</extracomment>
        <translation>文本</translation>
    </message>
    <message>
        <source>Stroke</source>
        <extracomment>The slider of the line width the pen, rectangles and arrows draw with.</extracomment>
        <translation>线宽</translation>
    </message>
    <message>
        <source>Ink colour</source>
        <extracomment>The colour button&apos;s name for screen readers.</extracomment>
        <translation>画笔颜色</translation>
    </message>
    <message>
        <source>Text to place on the image</source>
        <translation>要放在图像上的文本</translation>
    </message>
    <message>
        <source>Label text</source>
        <extracomment>The text field&apos;s name for screen readers.</extracomment>
        <translation>标签文本</translation>
    </message>
    <message>
        <source>Undo</source>
        <extracomment>Takes back the last mark.</extracomment>
        <translation>撤销</translation>
    </message>
    <message>
        <source>Picture to redact</source>
        <extracomment>The picture&apos;s name for screen readers in Redact.</extracomment>
        <translation>要涂黑的图片</translation>
    </message>
    <message>
        <source>Picture to annotate</source>
        <extracomment>The picture&apos;s name for screen readers in Annotate.</extracomment>
        <translation>要标注的图片</translation>
    </message>
    <message>
        <source>Drag to draw. Select Text and click to insert text.</source>
        <extracomment>How to use the drawing area; &quot;Text&quot; is Annotate&apos;s tool of that name.</extracomment>
        <translation>拖动即可绘制。选择“文本”后单击即可插入文本。</translation>
    </message>
    <message>
        <source>Tool</source>
        <extracomment>The name of the row of tools (pen, rectangle, arrow, text) for screen readers.</extracomment>
        <translation>工具</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MetadataController</name>
    <message>
        <source>Metadata</source>
        <extracomment>The Metadata editor&apos;s window title: the file&apos;s facts (camera, dates, place).</extracomment>
        <translation>元数据</translation>
    </message>
    <message>
        <source>Strip Metadata</source>
        <extracomment>The Metadata editor&apos;s Save button: save a copy without the metadata.</extracomment>
        <translation>移除元数据</translation>
    </message>
    <message>
        <source>Save a new copy with metadata removed.</source>
        <translation>保存一份移除了元数据的新副本。</translation>
    </message>
    <message>
        <source>No metadata found.</source>
        <translation>未找到元数据。</translation>
    </message>
    <message>
        <source>Metadata entries</source>
        <extracomment>The list of the file&apos;s metadata, named for screen readers.</extracomment>
        <translation>元数据条目</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PasswordAlert</name>
    <message>
        <source>“%1” is locked with a password</source>
        <extracomment>The heading of the alert that asks for a locked PDF&apos;s password; %1 is the file&apos;s name.</extracomment>
        <translation>“%1”已用密码锁定</translation>
    </message>
    <message>
        <source>That password does not open it. Type the password again to convert it.</source>
        <extracomment>Below the heading, after a password that did not open the PDF.</extracomment>
        <translation>该密码无法打开它。请再次输入密码以进行转换。</translation>
    </message>
    <message>
        <source>Type its password to convert it. The password is used for this conversion only and is not saved.</source>
        <extracomment>Below the heading. The password is used once and not saved anywhere.</extracomment>
        <translation>输入密码以进行转换。该密码仅用于本次转换，不会被保存。</translation>
    </message>
    <message>
        <source>Convert</source>
        <extracomment>The button that converts the locked PDF with the password typed.</extracomment>
        <translation>转换</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>The password field&apos;s name for screen readers, and its greyed text while empty.</extracomment>
        <translation>密码</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PortalShortcut</name>
    <message>
        <source>Open or hide the Whirlpane wheel</source>
        <extracomment>How the desktop&apos;s keyboard settings list Whirlpane&apos;s shortcut.</extracomment>
        <translation>打开或隐藏 Whirlpane 轮盘</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ProgressToast</name>
    <message>
        <source>Cancel</source>
        <extracomment>The toast&apos;s close button, for screen readers: it stops the conversion.</extracomment>
        <translation>取消</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n saved</source>
        <extracomment>%1 files of %n are saved so far.</extracomment>
        <translation>
            <numerusform>已保存 %1 个，共 %n 个</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cancelled — %1 of %n saved</source>
        <extracomment>After the user cancelled a conversion: %1 files of %n were saved.</extracomment>
        <translation>
            <numerusform>已取消——已保存 %1 个，共 %n 个</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::RadialMenu</name>
    <message>
        <source>Whirlpane radial menu</source>
        <extracomment>The wheel&apos;s name for screen readers: a round menu whose wedges are buttons.</extracomment>
        <translation>Whirlpane 轮盘菜单</translation>
    </message>
</context>
<context>
    <name>Whirlpane::TrayApplication</name>
    <message>
        <source>Whirlpane — drag a file to convert or edit</source>
        <extracomment>The tray icon&apos;s tool tip.</extracomment>
        <translation>Whirlpane——拖动文件即可转换或编辑</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Use the tray menu or Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>另一个程序占用了 Ctrl+Alt+Space，因此无法用它打开轮盘。请改用托盘菜单或“打开方式”。</translation>
    </message>
    <message>
        <source>Choose a file to convert or edit.</source>
        <extracomment>The file chooser&apos;s title.</extracomment>
        <translation>选择要转换或编辑的文件。</translation>
    </message>
    <message>
        <source>Images and PDFs</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>图像和 PDF</translation>
    </message>
    <message>
        <source>Open File…</source>
        <extracomment>The tray menu&apos;s item that opens the file chooser.</extracomment>
        <translation>打开文件…</translation>
    </message>
    <message>
        <source>Show Wheel</source>
        <extracomment>The wheel is Whirlpane&apos;s round menu of formats and tools.</extracomment>
        <translation>显示轮盘</translation>
    </message>
    <message>
        <source>Show When Dragging Files</source>
        <extracomment>A check item: the wheel comes up by itself while files are dragged.</extracomment>
        <translation>拖动文件时显示</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Choose Show Wheel and drop the files on it instead.</source>
        <translation>在此桌面上无效：拖到这里的文件不会自动打开轮盘，因为 Wayland 不允许任何程序监视其他程序的拖放。请改为选择“显示轮盘”，然后将文件拖放到轮盘上。</translation>
    </message>
    <message>
        <source>How to Use…</source>
        <extracomment>The tray menu&apos;s item that shows the introduction again.</extracomment>
        <translation>使用说明…</translation>
    </message>
    <message>
        <source>Open at Login</source>
        <extracomment>A check item: Whirlpane starts when the user logs in.</extracomment>
        <translation>登录时启动</translation>
    </message>
    <message>
        <source>Quit Whirlpane</source>
        <extracomment>The tray menu&apos;s last item: ends the program.</extracomment>
        <translation>退出 Whirlpane</translation>
    </message>
    <message>
        <source>Converting to %1</source>
        <extracomment>The progress toast&apos;s title; %1 is a format name such as PNG.</extracomment>
        <translation>正在转换为 %1</translation>
    </message>
    <message>
        <source>%1: left out, because it has no extension that tells its format.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1：已略过，因为它没有可表明格式的扩展名。</translation>
    </message>
    <message>
        <source>%1: left out, because Whirlpane takes only images and PDFs.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1：已略过，因为 Whirlpane 只接受图像和 PDF。</translation>
    </message>
    <message>
        <source>Choose a folder for the converted files</source>
        <extracomment>The folder chooser&apos;s title, for converted files their own folder cannot take.</extracomment>
        <translation>选择用于保存转换后文件的文件夹</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <extracomment>The failure alert&apos;s button for files whose folder cannot take the converted files.</extracomment>
        <translation>选择其他文件夹…</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Drop files on Whirlpane&apos;s window or use Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>另一个程序占用了 Ctrl+Alt+Space，因此无法用它打开轮盘。请改为将文件拖放到 Whirlpane 窗口上，或使用“打开方式”。</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Drop the files on Whirlpane&apos;s window instead.</source>
        <extracomment>Where the program has its own window (no tray).</extracomment>
        <translation>在此桌面上无效：拖到这里的文件不会自动打开轮盘，因为 Wayland 不允许任何程序监视其他程序的拖放。请改为将文件拖放到 Whirlpane 窗口上。</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelPainter</name>
    <message numerus="yes">
        <source>%n files</source>
        <extracomment>The centre of the wheel: how many files the wheel acts on (two or more).</extracomment>
        <translation>
            <numerusform>%n 个文件</numerusform>
        </translation>
    </message>
    <message>
        <source>TOOLS</source>
        <extracomment>The centre of the tools wheel, in capitals: the wheel offers the editors.</extracomment>
        <translation>工具</translation>
    </message>
    <message>
        <source>CONVERT</source>
        <extracomment>The centre of the formats wheel, in capitals, a verb: the wheel offers formats to convert to.</extracomment>
        <translation>转换</translation>
    </message>
    <message>
        <source>Drop files
here</source>
        <extracomment>The centre of the wheel in Whirlpane&apos;s window while it waits for files, on two short lines (the line break is kept).</extracomment>
        <translation>将文件
拖放到此</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelWindow</name>
    <message>
        <source>Menu</source>
        <extracomment>The button of Whirlpane&apos;s window that opens its menu (the tray menu&apos;s items).</extracomment>
        <translation>菜单</translation>
    </message>
</context>
</TS>
