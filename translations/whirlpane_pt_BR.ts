<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>Whirlpane::AdjustmentController</name>
    <message>
        <source>Edit Image</source>
        <extracomment>The Edit editor&apos;s window title: adjust the colours, turn and mirror.</extracomment>
        <translation>Editar imagem</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Edit editor&apos;s Save button.</extracomment>
        <translation>Salvar</translation>
    </message>
    <message>
        <source>Brightness</source>
        <extracomment>The slider that makes the picture lighter or darker.</extracomment>
        <translation>Brilho</translation>
    </message>
    <message>
        <source>Contrast</source>
        <extracomment>The slider of the difference between light and dark.</extracomment>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Saturation</source>
        <extracomment>The slider of the colours&apos; strength.</extracomment>
        <translation>Saturação</translation>
    </message>
    <message>
        <source>Rotate 90°</source>
        <extracomment>A quarter turn clockwise.</extracomment>
        <translation>Girar 90°</translation>
    </message>
    <message>
        <source>Flip</source>
        <extracomment>Mirror the picture, left to right.</extracomment>
        <translation>Espelhar</translation>
    </message>
</context>
<context>
    <name>Whirlpane::Autostart</name>
    <message>
        <source>Could not remove &quot;%1&quot;</source>
        <extracomment>Turning off &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>Não foi possível remover “%1”</translation>
    </message>
    <message>
        <source>Could not create &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the folder of login entries.</extracomment>
        <translation>Não foi possível criar “%1”</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>Não foi possível gravar “%1”</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundController</name>
    <message>
        <source>Add BG</source>
        <extracomment>The Add BG editor&apos;s window title: put the picture on a backdrop. &quot;BG&quot; is short for background; translate it in full where it fits.</extracomment>
        <translation>Adicionar fundo</translation>
    </message>
    <message>
        <source>Save with Background</source>
        <extracomment>The Add BG editor&apos;s Save button.</extracomment>
        <translation>Salvar com fundo</translation>
    </message>
    <message>
        <source>Background</source>
        <extracomment>The label before the rows of backdrops to choose from.</extracomment>
        <translation>Fundo</translation>
    </message>
    <message>
        <source>%1 background</source>
        <extracomment>A backdrop&apos;s name for screen readers; %1 is its name, such as Sunset or Blue.</extracomment>
        <translation>Fundo “%1”</translation>
    </message>
    <message>
        <source>Choose background image</source>
        <extracomment>The button that picks a photograph of the user&apos;s as the backdrop.</extracomment>
        <translation>Escolher imagem de fundo</translation>
    </message>
    <message>
        <source>Custom colour</source>
        <extracomment>The button that picks a colour of the user&apos;s own as the backdrop.</extracomment>
        <translation>Cor personalizada</translation>
    </message>
    <message>
        <source>Padding</source>
        <extracomment>The slider of the space between the picture and the edge of the backdrop.</extracomment>
        <translation>Margem</translation>
    </message>
    <message>
        <source>Corners</source>
        <extracomment>The slider of how round the picture&apos;s corners are.</extracomment>
        <translation>Cantos</translation>
    </message>
    <message>
        <source>Shadow</source>
        <extracomment>The slider of the shadow under the picture.</extracomment>
        <translation>Sombra</translation>
    </message>
    <message>
        <source>Ratio</source>
        <extracomment>The label before the backdrop&apos;s aspect ratios.</extracomment>
        <translation>Proporção</translation>
    </message>
    <message>
        <source>Images</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Imagens</translation>
    </message>
    <message>
        <source>At full size this is too large to save; it will be saved at %1 × %2 pixels, scaled down.</source>
        <extracomment>Add BG&apos;s note when the result at full size would be too large; %1 × %2 is the smaller size in pixels that Save writes instead.</extracomment>
        <translation>Em tamanho real, é grande demais para salvar; será salvo reduzido, com %1 × %2 pixels.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundRatio</name>
    <message>
        <source>Auto</source>
        <extracomment>The backdrop&apos;s first aspect ratio: follow the padded picture.</extracomment>
        <translation>Auto</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundStyle</name>
    <message>
        <source>Sunset</source>
        <translation>Pôr do sol</translation>
    </message>
    <message>
        <source>Daybreak</source>
        <translation>Alvorada</translation>
    </message>
    <message>
        <source>Sorbet</source>
        <translation>Sorvete</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Nuvem</translation>
    </message>
    <message>
        <source>Lavender</source>
        <translation>Lavanda</translation>
    </message>
    <message>
        <source>Garden</source>
        <translation>Jardim</translation>
    </message>
    <message>
        <source>Sky</source>
        <translation>Céu</translation>
    </message>
    <message>
        <source>Lagoon</source>
        <translation>Lagoa</translation>
    </message>
    <message>
        <source>Ice</source>
        <translation>Gelo</translation>
    </message>
    <message>
        <source>Dusk</source>
        <translation>Crepúsculo</translation>
    </message>
    <message>
        <source>Mint</source>
        <translation>Menta</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Branco</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Amarelo</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Lima</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Verde</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Verde-azulado</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Ciano</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Azul</translation>
    </message>
    <message>
        <source>Charcoal</source>
        <translation>Grafite</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Roxo</translation>
    </message>
    <message>
        <source>Pink</source>
        <translation>Rosa</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Vermelho</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Laranja</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Preto</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BatchConversion</name>
    <message>
        <source>The conversion stopped unexpectedly (%1).</source>
        <extracomment>A conversion&apos;s worker process ended by a signal; %1 names the signal (&quot;Killed&quot;).</extracomment>
        <translation>A conversão parou inesperadamente (%1).</translation>
    </message>
    <message>
        <source>The conversion failed without saying why (status %1).</source>
        <extracomment>A conversion&apos;s worker process failed and gave no reason; %1 is its exit status.</extracomment>
        <translation>A conversão falhou sem informar o motivo (status %1).</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CompressionController</name>
    <message>
        <source>Compress</source>
        <extracomment>The Compress editor&apos;s window title: the tool that makes a file smaller.</extracomment>
        <translation>Comprimir</translation>
    </message>
    <message>
        <source>Compress &amp; Save</source>
        <extracomment>The Compress editor&apos;s Save button.</extracomment>
        <translation>Comprimir e salvar</translation>
    </message>
    <message>
        <source>Quality</source>
        <extracomment>The slider of the JPEG or WebP quality the file is written at.</extracomment>
        <translation>Qualidade</translation>
    </message>
    <message>
        <source>Lower quality makes a smaller file. A new copy is saved beside the original.</source>
        <translation>Qualidade menor gera um arquivo menor. Uma nova cópia é salva ao lado do original.</translation>
    </message>
    <message>
        <source>Original: %1</source>
        <extracomment>The size of the file as it is; %1 is a size such as &quot;2.4 MB&quot;.</extracomment>
        <translation>Original: %1</translation>
    </message>
    <message>
        <source>The copy carries no metadata: the date taken, the place and the camera are left out too.</source>
        <extracomment>Below the slider: what the compressed copy of a photo leaves out of the file.</extracomment>
        <translation>A cópia não leva metadados: a data da foto, o local e a câmera também ficam de fora.</translation>
    </message>
    <message>
        <source>New copy: estimating…</source>
        <extracomment>Beside the original&apos;s size while the size of the compressed copy is worked out.</extracomment>
        <translation>Nova cópia: estimando…</translation>
    </message>
    <message>
        <source>New copy: about %1</source>
        <extracomment>The size the compressed copy will have; %1 is a size such as &quot;1.2 MB&quot;.</extracomment>
        <translation>Nova cópia: cerca de %1</translation>
    </message>
    <message>
        <source>New copy: no smaller</source>
        <extracomment>Beside the original&apos;s size: at this quality the copy would not be smaller.</extracomment>
        <translation>Nova cópia: não fica menor</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropCanvas</name>
    <message>
        <source>Crop selection. Drag edges or corners to resize; drag inside to move.</source>
        <extracomment>The crop area&apos;s name for screen readers, with how to use it.</extracomment>
        <translation>Seleção de recorte. Arraste as bordas ou os cantos para redimensionar; arraste por dentro para mover.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropController</name>
    <message>
        <source>Crop Image</source>
        <extracomment>The Crop editor&apos;s window title.</extracomment>
        <translation>Recortar imagem</translation>
    </message>
    <message>
        <source>Apply</source>
        <extracomment>The Crop editor&apos;s Save button: save the cut picture.</extracomment>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Aspect ratio</source>
        <extracomment>The label before the choices of the cut&apos;s shape (free, square, 16:9 ...).</extracomment>
        <translation>Proporção</translation>
    </message>
    <message>
        <source>Free</source>
        <extracomment>The first choice of the aspect ratio: any shape.</extracomment>
        <translation>Livre</translation>
    </message>
    <message>
        <source>W</source>
        <extracomment>Short for width, before the width field (one or two letters).</extracomment>
        <translation>L</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <extracomment>The width field&apos;s name for screen readers.</extracomment>
        <translation>Largura em pixels</translation>
    </message>
    <message>
        <source>H</source>
        <extracomment>Short for height, before the height field (one or two letters).</extracomment>
        <translation>A</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <extracomment>The height field&apos;s name for screen readers.</extracomment>
        <translation>Altura em pixels</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorCoordinator</name>
    <message>
        <source>The “%1” editor is not available.</source>
        <extracomment>%1 is the name of an editor asked for that does not exist.</extracomment>
        <translation>O editor “%1” não está disponível.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorFrame</name>
    <message>
        <source>The image could not be rendered.</source>
        <extracomment>An editor could not make the picture it was to save.</extracomment>
        <translation>Não foi possível gerar a imagem.</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <extracomment>An editor&apos;s save failed without a reason of its own.</extracomment>
        <translation>Não foi possível salvar o arquivo.</translation>
    </message>
    <message>
        <source>Close %1</source>
        <extracomment>The close button&apos;s name for screen readers; %1 is the editor&apos;s title.</extracomment>
        <translation>Fechar “%1”</translation>
    </message>
    <message>
        <source>Reset</source>
        <extracomment>The editor&apos;s button that undoes every change made in the window.</extracomment>
        <translation>Redefinir</translation>
    </message>
    <message>
        <source>Saving…</source>
        <extracomment>The action bar&apos;s status line while the new file is written.</extracomment>
        <translation>Salvando…</translation>
    </message>
    <message>
        <source>Loading…</source>
        <extracomment>The action bar&apos;s status line while an editor decodes the whole picture; the window shows a reduced copy meanwhile.</extracomment>
        <translation>Carregando…</translation>
    </message>
    <message>
        <source>Could not open</source>
        <extracomment>The action bar&apos;s status line when the whole picture could not be decoded; nothing can be saved.</extracomment>
        <translation>Não foi possível abrir</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorTable</name>
    <message>
        <source>COMPRESS</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that makes a file smaller.</extracomment>
        <translation>COMPRIMIR</translation>
    </message>
    <message>
        <source>METADATA</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that shows and removes a file&apos;s metadata.</extracomment>
        <translation>METADADOS</translation>
    </message>
    <message>
        <source>EDIT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: adjust brightness, contrast and saturation, turn and mirror.</extracomment>
        <translation>EDITAR</translation>
    </message>
    <message>
        <source>ANNOTATE</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: draw and write on the picture.</extracomment>
        <translation>ANOTAR</translation>
    </message>
    <message>
        <source>ADD BG</source>
        <extracomment>A wedge of the tools wheel, in capitals, short for &quot;add background&quot;: put the picture on a backdrop. Keep it as short; an abbreviation is fine.</extracomment>
        <translation>FUNDO</translation>
    </message>
    <message>
        <source>CROP</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: cut the picture to a rectangle.</extracomment>
        <translation>RECORTAR</translation>
    </message>
    <message>
        <source>REDACT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: black out parts of the picture.</extracomment>
        <translation>TARJAR</translation>
    </message>
    <message>
        <source>The file changed while it was opened.</source>
        <extracomment>An editor&apos;s picture changed on disk while the editor was opening it.</extracomment>
        <translation>O arquivo mudou enquanto era aberto.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ErrorAlert</name>
    <message>
        <source>Couldn’t complete this file</source>
        <extracomment>The alert&apos;s heading; the reason follows below it.</extracomment>
        <translation>Não foi possível concluir este arquivo</translation>
    </message>
    <message numerus="yes">
        <source>Couldn’t complete %n files</source>
        <extracomment>The alert&apos;s heading over the reasons of several files, %n of them (2 or more).</extracomment>
        <translation>
            <numerusform>Não foi possível concluir %n arquivo</numerusform>
            <numerusform>Não foi possível concluir %n arquivos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::IntroductionWindow</name>
    <message>
        <source>Drag an image or PDF in your file manager and hold still for a moment. A wheel appears around your pointer. Drop on a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where the wheel comes up during drags (X11).</extracomment>
        <translation>Arraste uma imagem ou um PDF no seu gerenciador de arquivos e pare o ponteiro por um instante. Uma roda aparece em volta do ponteiro. Solte sobre um formato para converter.</translation>
    </message>
    <message>
        <source>Press Alt while dragging to switch to Crop, Add BG, and the other tools. Press it again to switch back.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Pressione Alt enquanto arrasta para passar para “Recortar”, “Fundo” e as outras ferramentas. Pressione de novo para voltar.</translation>
    </message>
    <message>
        <source>Click the center to switch wheels; drag it to move. Escape dismisses. Ctrl+Alt+Space opens or hides the wheel.</source>
        <extracomment>The centre is the middle of the wheel; dragging it moves the wheel.</extracomment>
        <translation>Clique no centro para trocar de roda; arraste-o para movê-la. Esc fecha. Ctrl+Alt+Espaço abre ou oculta a roda.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Whirlpane lives in the system tray, with no window of its own.</source>
        <translation>Os arquivos novos são salvos ao lado do original. O Whirlpane fica na área de notificação, sem janela própria.</translation>
    </message>
    <message>
        <source>Your files. One gesture.</source>
        <extracomment>The introduction&apos;s heading, a slogan: everything is done with one drag.</extracomment>
        <translation>Seus arquivos. Um só gesto.</translation>
    </message>
    <message>
        <source>Open a File…</source>
        <extracomment>The introduction&apos;s button: opens the file chooser.</extracomment>
        <translation>Abrir um arquivo…</translation>
    </message>
    <message>
        <source>To open the wheel with a key of your choice, add a custom shortcut that runs “whirlpane --show-wheel”: in GNOME under Settings › Keyboard › View and Customize Shortcuts › Custom Shortcuts; in KDE Plasma under System Settings › Keyboard › Shortcuts › Add New › Command or Script.</source>
        <extracomment>How to bind &quot;whirlpane --show-wheel&quot; to a key on desktops that take no key grabs; the menu paths are those of GNOME Settings and KDE Plasma&apos;s System Settings.</extracomment>
        <translation>Para abrir a roda com uma tecla de sua escolha, adicione um atalho personalizado que execute “whirlpane --show-wheel”: no GNOME em Configurações › Teclado › Ver e personalizar atalhos › Atalhos personalizados; no KDE Plasma em Configurações do sistema › Teclado › Atalhos › Adicionar novo › Comando ou script.</translation>
    </message>
    <message>
        <source>Drag an image or PDF from your file manager onto Whirlpane’s window and drop it on a format to convert, or on the center to open the wheel for it.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched and no tray shows Whirlpane (GNOME): its own window takes the files.</extracomment>
        <translation>Arraste uma imagem ou um PDF do seu gerenciador de arquivos até a janela do Whirlpane e solte sobre um formato para convertê-lo, ou no centro para abrir a roda para ele.</translation>
    </message>
    <message>
        <source>Press Ctrl+Alt+Space or choose Show Wheel in the tray menu, and a wheel appears. Drag an image or PDF from your file manager onto a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched but a tray exists (Wayland, KDE Plasma); &quot;Show Wheel&quot; is the tray menu&apos;s item of that name.</extracomment>
        <translation>Pressione Ctrl+Alt+Espaço ou escolha “Mostrar roda” no menu da área de notificação, e uma roda aparece. Arraste uma imagem ou um PDF do seu gerenciador de arquivos até um formato para convertê-lo.</translation>
    </message>
    <message>
        <source>Hold Alt as you drag over the window for Crop, Add BG, and the other tools.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Segure Alt enquanto arrasta sobre a janela para ver “Recortar”, “Fundo” e as outras ferramentas.</translation>
    </message>
    <message>
        <source>Click the center of the wheel or press Tab to switch to Crop, Add BG, and the other tools.</source>
        <translation>Clique no centro da roda ou pressione Tab para passar para “Recortar”, “Fundo” e as outras ferramentas.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Closing Whirlpane’s window ends the program.</source>
        <translation>Os arquivos novos são salvos ao lado do original. Fechar a janela do Whirlpane encerra o programa.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::LaunchOptions</name>
    <message>
        <source>%1 needs a value: see whirlpane --help.</source>
        <translation>%1 precisa de um valor: veja whirlpane --help.</translation>
    </message>
    <message>
        <source>%1 is not an option of Whirlpane: see whirlpane --help.</source>
        <translation>%1 não é uma opção do Whirlpane: veja whirlpane --help.</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>“%1” não existe.</translation>
    </message>
    <message>
        <source>“%1” is a folder; choose the files in it.</source>
        <translation>“%1” é uma pasta; escolha os arquivos dentro dela.</translation>
    </message>
    <message>
        <source>Whirlpane does not open “%1”: images and PDFs only.</source>
        <translation>O Whirlpane não abre “%1”: somente imagens e PDFs.</translation>
    </message>
    <message>
        <source>--to and --editor cannot be used together.</source>
        <translation>--to e --editor não podem ser usados juntos.</translation>
    </message>
    <message>
        <source>Name the files to convert: whirlpane --to FORMAT FILE...</source>
        <translation>Informe os arquivos a converter: whirlpane --to FORMAT FILE...</translation>
    </message>
    <message>
        <source>Name the file to edit: whirlpane --editor EDITOR FILE</source>
        <translation>Informe o arquivo a editar: whirlpane --editor EDITOR FILE</translation>
    </message>
    <message>
        <source>“%1” is not an editor of Whirlpane: %2.</source>
        <translation>“%1” não é um editor do Whirlpane: %2.</translation>
    </message>
    <message>
        <source>“%1” is not a format Whirlpane converts to.</source>
        <translation>“%1” não é um formato para o qual o Whirlpane converte.</translation>
    </message>
    <message>
        <source>“%1” cannot be converted to %2.</source>
        <translation>“%1” não pode ser convertido para %2.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MarkupController</name>
    <message>
        <source>Redact Image</source>
        <extracomment>The Redact editor&apos;s window title: black out parts of the picture.</extracomment>
        <translation>Tarjar imagem</translation>
    </message>
    <message>
        <source>Annotate Image</source>
        <extracomment>The Annotate editor&apos;s window title: draw and write on the picture.</extracomment>
        <translation>Anotar imagem</translation>
    </message>
    <message>
        <source>Save Redacted</source>
        <extracomment>The Redact editor&apos;s Save button.</extracomment>
        <translation>Salvar tarjada</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Annotate editor&apos;s Save button.</extracomment>
        <translation>Salvar</translation>
    </message>
    <message>
        <source>Drag over sensitive areas to cover them with solid pixels.</source>
        <translation>Arraste sobre as áreas sensíveis para cobri-las com pixels opacos.</translation>
    </message>
    <message>
        <source>Exported redactions cannot be removed.</source>
        <translation>Tarjas exportadas não podem ser removidas.</translation>
    </message>
    <message>
        <source>Text</source>
        <extracomment>The text a new label on the picture shows until the user types another.</extracomment>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Pen</source>
        <extracomment>Annotate&apos;s tool that draws freehand lines.</extracomment>
        <translation>Caneta</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <extracomment>Annotate&apos;s tool that draws rectangles.</extracomment>
        <translation>Retângulo</translation>
    </message>
    <message>
        <source>Arrow</source>
        <extracomment>Annotate&apos;s tool that draws arrows.</extracomment>
        <translation>Seta</translation>
    </message>
    <message>
        <source>Text</source>
        <comment>tool</comment>
        <extracomment>Annotate&apos;s tool that places text; a noun.</extracomment>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Stroke</source>
        <extracomment>The slider of the line width the pen, rectangles and arrows draw with.</extracomment>
        <translation>Espessura</translation>
    </message>
    <message>
        <source>Ink colour</source>
        <extracomment>The colour button&apos;s name for screen readers.</extracomment>
        <translation>Cor da tinta</translation>
    </message>
    <message>
        <source>Text to place on the image</source>
        <translation>Texto a colocar na imagem</translation>
    </message>
    <message>
        <source>Label text</source>
        <extracomment>The text field&apos;s name for screen readers.</extracomment>
        <translation>Texto do rótulo</translation>
    </message>
    <message>
        <source>Undo</source>
        <extracomment>Takes back the last mark.</extracomment>
        <translation>Desfazer</translation>
    </message>
    <message>
        <source>Picture to redact</source>
        <extracomment>The picture&apos;s name for screen readers in Redact.</extracomment>
        <translation>Imagem a ocultar</translation>
    </message>
    <message>
        <source>Picture to annotate</source>
        <extracomment>The picture&apos;s name for screen readers in Annotate.</extracomment>
        <translation>Imagem a anotar</translation>
    </message>
    <message>
        <source>Drag to draw. Select Text and click to insert text.</source>
        <extracomment>How to use the drawing area; &quot;Text&quot; is Annotate&apos;s tool of that name.</extracomment>
        <translation>Arraste para desenhar. Escolha “Texto” e clique para inserir texto.</translation>
    </message>
    <message>
        <source>Tool</source>
        <extracomment>The name of the row of tools (pen, rectangle, arrow, text) for screen readers.</extracomment>
        <translation>Ferramenta</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MetadataController</name>
    <message>
        <source>Metadata</source>
        <extracomment>The Metadata editor&apos;s window title: the file&apos;s facts (camera, dates, place).</extracomment>
        <translation>Metadados</translation>
    </message>
    <message>
        <source>Strip Metadata</source>
        <extracomment>The Metadata editor&apos;s Save button: save a copy without the metadata.</extracomment>
        <translation>Remover metadados</translation>
    </message>
    <message>
        <source>Save a new copy with metadata removed.</source>
        <translation>Salvar uma nova cópia sem os metadados.</translation>
    </message>
    <message>
        <source>No metadata found.</source>
        <translation>Nenhum metadado encontrado.</translation>
    </message>
    <message>
        <source>Metadata entries</source>
        <extracomment>The list of the file&apos;s metadata, named for screen readers.</extracomment>
        <translation>Entradas de metadados</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PasswordAlert</name>
    <message>
        <source>“%1” is locked with a password</source>
        <extracomment>The heading of the alert that asks for a locked PDF&apos;s password; %1 is the file&apos;s name.</extracomment>
        <translation>“%1” está bloqueado com senha</translation>
    </message>
    <message>
        <source>That password does not open it. Type the password again to convert it.</source>
        <extracomment>Below the heading, after a password that did not open the PDF.</extracomment>
        <translation>Essa senha não o abre. Digite a senha de novo para convertê-lo.</translation>
    </message>
    <message>
        <source>Type its password to convert it. The password is used for this conversion only and is not saved.</source>
        <extracomment>Below the heading. The password is used once and not saved anywhere.</extracomment>
        <translation>Digite a senha para convertê-lo. A senha é usada apenas nesta conversão e não é salva.</translation>
    </message>
    <message>
        <source>Convert</source>
        <extracomment>The button that converts the locked PDF with the password typed.</extracomment>
        <translation>Converter</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>The password field&apos;s name for screen readers, and its greyed text while empty.</extracomment>
        <translation>Senha</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PortalShortcut</name>
    <message>
        <source>Open or hide the Whirlpane wheel</source>
        <extracomment>How the desktop&apos;s keyboard settings list Whirlpane&apos;s shortcut.</extracomment>
        <translation>Abrir ou ocultar a roda do Whirlpane</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ProgressToast</name>
    <message>
        <source>Cancel</source>
        <extracomment>The toast&apos;s close button, for screen readers: it stops the conversion.</extracomment>
        <translation>Cancelar</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n saved</source>
        <extracomment>%1 files of %n are saved so far.</extracomment>
        <translation>
            <numerusform>%1 de %n salvo</numerusform>
            <numerusform>%1 de %n salvos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cancelled — %1 of %n saved</source>
        <extracomment>After the user cancelled a conversion: %1 files of %n were saved.</extracomment>
        <translation>
            <numerusform>Cancelado — %1 de %n salvo</numerusform>
            <numerusform>Cancelado — %1 de %n salvos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::RadialMenu</name>
    <message>
        <source>Whirlpane radial menu</source>
        <extracomment>The wheel&apos;s name for screen readers: a round menu whose wedges are buttons.</extracomment>
        <translation>Menu radial do Whirlpane</translation>
    </message>
</context>
<context>
    <name>Whirlpane::TrayApplication</name>
    <message>
        <source>Whirlpane — drag a file to convert or edit</source>
        <extracomment>The tray icon&apos;s tool tip.</extracomment>
        <translation>Whirlpane — arraste um arquivo para converter ou editar</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Use the tray menu or Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Outro programa usa Ctrl+Alt+Espaço, então esse atalho não pode abrir a roda. Use o menu da área de notificação ou “Abrir com”.</translation>
    </message>
    <message>
        <source>Choose a file to convert or edit.</source>
        <extracomment>The file chooser&apos;s title.</extracomment>
        <translation>Escolha um arquivo para converter ou editar.</translation>
    </message>
    <message>
        <source>Images and PDFs</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Imagens e PDFs</translation>
    </message>
    <message>
        <source>Open File…</source>
        <extracomment>The tray menu&apos;s item that opens the file chooser.</extracomment>
        <translation>Abrir arquivo…</translation>
    </message>
    <message>
        <source>Show Wheel</source>
        <extracomment>The wheel is Whirlpane&apos;s round menu of formats and tools.</extracomment>
        <translation>Mostrar roda</translation>
    </message>
    <message>
        <source>Show When Dragging Files</source>
        <extracomment>A check item: the wheel comes up by itself while files are dragged.</extracomment>
        <translation>Mostrar ao arrastar arquivos</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Choose Show Wheel and drop the files on it instead.</source>
        <translation>Sem efeito nesta área de trabalho: arquivos arrastados para cá não abrem a roda sozinhos, porque o Wayland não permite que nenhum programa observe o arrastar de outros programas. Escolha “Mostrar roda” e solte os arquivos nela.</translation>
    </message>
    <message>
        <source>How to Use…</source>
        <extracomment>The tray menu&apos;s item that shows the introduction again.</extracomment>
        <translation>Como usar…</translation>
    </message>
    <message>
        <source>Open at Login</source>
        <extracomment>A check item: Whirlpane starts when the user logs in.</extracomment>
        <translation>Abrir ao iniciar a sessão</translation>
    </message>
    <message>
        <source>Quit Whirlpane</source>
        <extracomment>The tray menu&apos;s last item: ends the program.</extracomment>
        <translation>Sair do Whirlpane</translation>
    </message>
    <message>
        <source>Converting to %1</source>
        <extracomment>The progress toast&apos;s title; %1 is a format name such as PNG.</extracomment>
        <translation>Convertendo para %1</translation>
    </message>
    <message>
        <source>%1: left out, because it has no extension that tells its format.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1: deixado de fora, porque não tem uma extensão que indique seu formato.</translation>
    </message>
    <message>
        <source>%1: left out, because Whirlpane takes only images and PDFs.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1: deixado de fora, porque o Whirlpane aceita apenas imagens e PDFs.</translation>
    </message>
    <message>
        <source>Choose a folder for the converted files</source>
        <extracomment>The folder chooser&apos;s title, for converted files their own folder cannot take.</extracomment>
        <translation>Escolha uma pasta para os arquivos convertidos</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <extracomment>The failure alert&apos;s button for files whose folder cannot take the converted files.</extracomment>
        <translation>Escolher outra pasta…</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Drop files on Whirlpane&apos;s window or use Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Outro programa usa Ctrl+Alt+Espaço, então esse atalho não pode abrir a roda. Solte os arquivos na janela do Whirlpane ou use “Abrir com”.</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Drop the files on Whirlpane&apos;s window instead.</source>
        <extracomment>Where the program has its own window (no tray).</extracomment>
        <translation>Sem efeito nesta área de trabalho: arquivos arrastados para cá não abrem a roda sozinhos, porque o Wayland não permite que nenhum programa observe o arrastar de outros programas. Solte os arquivos na janela do Whirlpane.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelPainter</name>
    <message numerus="yes">
        <source>%n files</source>
        <extracomment>The centre of the wheel: how many files the wheel acts on (two or more).</extracomment>
        <translation>
            <numerusform>%n arquivo</numerusform>
            <numerusform>%n arquivos</numerusform>
        </translation>
    </message>
    <message>
        <source>TOOLS</source>
        <extracomment>The centre of the tools wheel, in capitals: the wheel offers the editors.</extracomment>
        <translation>FERRAMENTAS</translation>
    </message>
    <message>
        <source>CONVERT</source>
        <extracomment>The centre of the formats wheel, in capitals, a verb: the wheel offers formats to convert to.</extracomment>
        <translation>CONVERTER</translation>
    </message>
    <message>
        <source>Drop files
here</source>
        <extracomment>The centre of the wheel in Whirlpane&apos;s window while it waits for files, on two short lines (the line break is kept).</extracomment>
        <translation>Solte
arquivos aqui</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelWindow</name>
    <message>
        <source>Menu</source>
        <extracomment>The button of Whirlpane&apos;s window that opens its menu (the tray menu&apos;s items).</extracomment>
        <translation>Menu</translation>
    </message>
</context>
</TS>
