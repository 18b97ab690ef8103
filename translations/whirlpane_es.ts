<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es_ES">
<context>
    <name>Whirlpane::AdjustmentController</name>
    <message>
        <source>Edit Image</source>
        <extracomment>The Edit editor&apos;s window title: adjust the colours, turn and mirror.</extracomment>
        <translation>Editar imagen</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Edit editor&apos;s Save button.</extracomment>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Brightness</source>
        <extracomment>The slider that makes the picture lighter or darker.</extracomment>
        <translation>Brillo</translation>
    </message>
    <message>
        <source>Contrast</source>
        <extracomment>The slider of the difference between light and dark.</extracomment>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Saturation</source>
        <extracomment>The slider of the colours&apos; strength.</extracomment>
        <translation>Saturación</translation>
    </message>
    <message>
        <source>Rotate 90°</source>
        <extracomment>A quarter turn clockwise.</extracomment>
        <translation>Girar 90°</translation>
    </message>
    <message>
        <source>Flip</source>
        <extracomment>Mirror the picture, left to right.</extracomment>
        <translation>Voltear</translation>
    </message>
</context>
<context>
    <name>Whirlpane::Autostart</name>
    <message>
        <source>Could not remove &quot;%1&quot;</source>
        <extracomment>Turning off &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>No se pudo quitar «%1»</translation>
    </message>
    <message>
        <source>Could not create &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the folder of login entries.</extracomment>
        <translation>No se pudo crear «%1»</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>No se pudo escribir «%1»</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundController</name>
    <message>
        <source>Add BG</source>
        <extracomment>The Add BG editor&apos;s window title: put the picture on a backdrop. &quot;BG&quot; is short for background; translate it in full where it fits.</extracomment>
        <translation>Añadir fondo</translation>
    </message>
    <message>
        <source>Save with Background</source>
        <extracomment>The Add BG editor&apos;s Save button.</extracomment>
        <translation>Guardar con fondo</translation>
    </message>
    <message>
        <source>Background</source>
        <extracomment>The label before the rows of backdrops to choose from.</extracomment>
        <translation>Fondo</translation>
    </message>
    <message>
        <source>%1 background</source>
        <extracomment>A backdrop&apos;s name for screen readers; %1 is its name, such as Sunset or Blue.</extracomment>
        <translation>Fondo «%1»</translation>
    </message>
    <message>
        <source>Choose background image</source>
        <extracomment>The button that picks a photograph of the user&apos;s as the backdrop.</extracomment>
        <translation>Elegir imagen de fondo</translation>
    </message>
    <message>
        <source>Custom colour</source>
        <extracomment>The button that picks a colour of the user&apos;s own as the backdrop.</extracomment>
        <translation>Color personalizado</translation>
    </message>
    <message>
        <source>Padding</source>
        <extracomment>The slider of the space between the picture and the edge of the backdrop.</extracomment>
        <translation>Margen</translation>
    </message>
    <message>
        <source>Corners</source>
        <extracomment>The slider of how round the picture&apos;s corners are.</extracomment>
        <translation>Esquinas</translation>
    </message>
    <message>
        <source>Shadow</source>
        <extracomment>The slider of the shadow under the picture.</extracomment>
        <translation>Sombra</translation>
    </message>
    <message>
        <source>Ratio</source>
        <extracomment>The label before the backdrop&apos;s aspect ratios.</extracomment>
        <translation>Proporción</translation>
    </message>
    <message>
        <source>Images</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Imágenes</translation>
    </message>
    <message>
        <source>At full size this is too large to save; it will be saved at %1 × %2 pixels, scaled down.</source>
        <extracomment>Add BG&apos;s note when the result at full size would be too large; %1 × %2 is the smaller size in pixels that Save writes instead.</extracomment>
        <translation>A tamaño completo es demasiado grande para guardarse; se guardará reducido, a %1 × %2 píxeles.</translation>
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
        <translation>Atardecer</translation>
    </message>
    <message>
        <source>Daybreak</source>
        <translation>Amanecer</translation>
    </message>
    <message>
        <source>Sorbet</source>
        <translation>Sorbete</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Nube</translation>
    </message>
    <message>
        <source>Lavender</source>
        <translation>Lavanda</translation>
    </message>
    <message>
        <source>Garden</source>
        <translation>Jardín</translation>
    </message>
    <message>
        <source>Sky</source>
        <translation>Cielo</translation>
    </message>
    <message>
        <source>Lagoon</source>
        <translation>Laguna</translation>
    </message>
    <message>
        <source>Ice</source>
        <translation>Hielo</translation>
    </message>
    <message>
        <source>Dusk</source>
        <translation>Anochecer</translation>
    </message>
    <message>
        <source>Mint</source>
        <translation>Menta</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Blanco</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Amarillo</translation>
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
        <translation>Verde azulado</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cian</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Azul</translation>
    </message>
    <message>
        <source>Charcoal</source>
        <translation>Carbón</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Morado</translation>
    </message>
    <message>
        <source>Pink</source>
        <translation>Rosa</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rojo</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Naranja</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Negro</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BatchConversion</name>
    <message>
        <source>The conversion stopped unexpectedly (%1).</source>
        <extracomment>A conversion&apos;s worker process ended by a signal; %1 names the signal (&quot;Killed&quot;).</extracomment>
        <translation>La conversión se detuvo de forma inesperada (%1).</translation>
    </message>
    <message>
        <source>The conversion failed without saying why (status %1).</source>
        <extracomment>A conversion&apos;s worker process failed and gave no reason; %1 is its exit status.</extracomment>
        <translation>La conversión falló sin indicar el motivo (estado %1).</translation>
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
        <translation>Comprimir y guardar</translation>
    </message>
    <message>
        <source>Quality</source>
        <extracomment>The slider of the JPEG or WebP quality the file is written at.</extracomment>
        <translation>Calidad</translation>
    </message>
    <message>
        <source>Lower quality makes a smaller file. A new copy is saved beside the original.</source>
        <translation>Una calidad menor da un archivo más pequeño. Se guarda una copia nueva junto al original.</translation>
    </message>
    <message>
        <source>Original: %1</source>
        <extracomment>The size of the file as it is; %1 is a size such as &quot;2.4 MB&quot;.</extracomment>
        <translation>Original: %1</translation>
    </message>
    <message>
        <source>The copy carries no metadata: the date taken, the place and the camera are left out too.</source>
        <extracomment>Below the slider: what the compressed copy of a photo leaves out of the file.</extracomment>
        <translation>La copia no lleva metadatos: también se omiten la fecha de captura, el lugar y la cámara.</translation>
    </message>
    <message>
        <source>New copy: estimating…</source>
        <extracomment>Beside the original&apos;s size while the size of the compressed copy is worked out.</extracomment>
        <translation>Copia nueva: calculando…</translation>
    </message>
    <message>
        <source>New copy: about %1</source>
        <extracomment>The size the compressed copy will have; %1 is a size such as &quot;1.2 MB&quot;.</extracomment>
        <translation>Copia nueva: unos %1</translation>
    </message>
    <message>
        <source>New copy: no smaller</source>
        <extracomment>Beside the original&apos;s size: at this quality the copy would not be smaller.</extracomment>
        <translation>Copia nueva: no más pequeña</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropCanvas</name>
    <message>
        <source>Crop selection. Drag edges or corners to resize; drag inside to move.</source>
        <extracomment>The crop area&apos;s name for screen readers, with how to use it.</extracomment>
        <translation>Selección de recorte. Arrastra los bordes o las esquinas para cambiar su tamaño; arrastra el interior para moverla.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropController</name>
    <message>
        <source>Crop Image</source>
        <extracomment>The Crop editor&apos;s window title.</extracomment>
        <translation>Recortar imagen</translation>
    </message>
    <message>
        <source>Apply</source>
        <extracomment>The Crop editor&apos;s Save button: save the cut picture.</extracomment>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Aspect ratio</source>
        <extracomment>The label before the choices of the cut&apos;s shape (free, square, 16:9 ...).</extracomment>
        <translation>Proporción</translation>
    </message>
    <message>
        <source>Free</source>
        <extracomment>The first choice of the aspect ratio: any shape.</extracomment>
        <translation>Libre</translation>
    </message>
    <message>
        <source>W</source>
        <extracomment>Short for width, before the width field (one or two letters).</extracomment>
        <translation>An</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <extracomment>The width field&apos;s name for screen readers.</extracomment>
        <translation>Ancho en píxeles</translation>
    </message>
    <message>
        <source>H</source>
        <extracomment>Short for height, before the height field (one or two letters).</extracomment>
        <translation>Al</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <extracomment>The height field&apos;s name for screen readers.</extracomment>
        <translation>Alto en píxeles</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorCoordinator</name>
    <message>
        <source>The “%1” editor is not available.</source>
        <extracomment>%1 is the name of an editor asked for that does not exist.</extracomment>
        <translation>El editor «%1» no está disponible.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorFrame</name>
    <message>
        <source>The image could not be rendered.</source>
        <extracomment>An editor could not make the picture it was to save.</extracomment>
        <translation>No se pudo generar la imagen.</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <extracomment>An editor&apos;s save failed without a reason of its own.</extracomment>
        <translation>No se pudo guardar el archivo.</translation>
    </message>
    <message>
        <source>Close %1</source>
        <extracomment>The close button&apos;s name for screen readers; %1 is the editor&apos;s title.</extracomment>
        <translation>Cerrar «%1»</translation>
    </message>
    <message>
        <source>Reset</source>
        <extracomment>The editor&apos;s button that undoes every change made in the window.</extracomment>
        <translation>Restablecer</translation>
    </message>
    <message>
        <source>Saving…</source>
        <extracomment>The action bar&apos;s status line while the new file is written.</extracomment>
        <translation>Guardando…</translation>
    </message>
    <message>
        <source>Loading…</source>
        <extracomment>The action bar&apos;s status line while an editor decodes the whole picture; the window shows a reduced copy meanwhile.</extracomment>
        <translation>Cargando…</translation>
    </message>
    <message>
        <source>Could not open</source>
        <extracomment>The action bar&apos;s status line when the whole picture could not be decoded; nothing can be saved.</extracomment>
        <translation>No se pudo abrir</translation>
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
        <translation>METADATOS</translation>
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
        <translation>FONDO</translation>
    </message>
    <message>
        <source>CROP</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: cut the picture to a rectangle.</extracomment>
        <translation>RECORTAR</translation>
    </message>
    <message>
        <source>REDACT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: black out parts of the picture.</extracomment>
        <translation>CENSURAR</translation>
    </message>
    <message>
        <source>The file changed while it was opened.</source>
        <extracomment>An editor&apos;s picture changed on disk while the editor was opening it.</extracomment>
        <translation>El archivo cambió mientras se abría.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ErrorAlert</name>
    <message>
        <source>Couldn’t complete this file</source>
        <extracomment>The alert&apos;s heading; the reason follows below it.</extracomment>
        <translation>No se pudo completar este archivo</translation>
    </message>
    <message numerus="yes">
        <source>Couldn’t complete %n files</source>
        <extracomment>The alert&apos;s heading over the reasons of several files, %n of them (2 or more).</extracomment>
        <translation>
            <numerusform>No se pudo completar %n archivo</numerusform>
            <numerusform>No se pudieron completar %n archivos</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::IntroductionWindow</name>
    <message>
        <source>Drag an image or PDF in your file manager and hold still for a moment. A wheel appears around your pointer. Drop on a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where the wheel comes up during drags (X11).</extracomment>
        <translation>Arrastra una imagen o un PDF en tu gestor de archivos y detén el puntero un momento. Aparece una rueda alrededor del puntero. Suelta sobre un formato para convertir.</translation>
    </message>
    <message>
        <source>Press Alt while dragging to switch to Crop, Add BG, and the other tools. Press it again to switch back.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Pulsa Alt mientras arrastras para cambiar a «Recortar», «Fondo» y las demás herramientas. Vuelve a pulsarla para regresar.</translation>
    </message>
    <message>
        <source>Click the center to switch wheels; drag it to move. Escape dismisses. Ctrl+Alt+Space opens or hides the wheel.</source>
        <extracomment>The centre is the middle of the wheel; dragging it moves the wheel.</extracomment>
        <translation>Haz clic en el centro para cambiar de rueda; arrástralo para moverla. Esc la cierra. Ctrl+Alt+Espacio abre u oculta la rueda.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Whirlpane lives in the system tray, with no window of its own.</source>
        <translation>Los archivos nuevos se guardan junto al original. Whirlpane vive en el área de notificación, sin ventana propia.</translation>
    </message>
    <message>
        <source>Your files. One gesture.</source>
        <extracomment>The introduction&apos;s heading, a slogan: everything is done with one drag.</extracomment>
        <translation>Tus archivos. Un solo gesto.</translation>
    </message>
    <message>
        <source>Open a File…</source>
        <extracomment>The introduction&apos;s button: opens the file chooser.</extracomment>
        <translation>Abrir un archivo…</translation>
    </message>
    <message>
        <source>To open the wheel with a key of your choice, add a custom shortcut that runs “whirlpane --show-wheel”: in GNOME under Settings › Keyboard › View and Customize Shortcuts › Custom Shortcuts; in KDE Plasma under System Settings › Keyboard › Shortcuts › Add New › Command or Script.</source>
        <extracomment>How to bind &quot;whirlpane --show-wheel&quot; to a key on desktops that take no key grabs; the menu paths are those of GNOME Settings and KDE Plasma&apos;s System Settings.</extracomment>
        <translation>Para abrir la rueda con la tecla que prefieras, añade un atajo personalizado que ejecute «whirlpane --show-wheel»: en GNOME en Configuración › Teclado › Ver y personalizar atajos › Atajos personalizados; en KDE Plasma en Preferencias del sistema › Teclado › Accesos rápidos › Añadir nuevo › Orden o script.</translation>
    </message>
    <message>
        <source>Drag an image or PDF from your file manager onto Whirlpane’s window and drop it on a format to convert, or on the center to open the wheel for it.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched and no tray shows Whirlpane (GNOME): its own window takes the files.</extracomment>
        <translation>Arrastra una imagen o un PDF desde tu gestor de archivos hasta la ventana de Whirlpane y suéltalo sobre un formato para convertirlo, o en el centro para abrir la rueda con él.</translation>
    </message>
    <message>
        <source>Press Ctrl+Alt+Space or choose Show Wheel in the tray menu, and a wheel appears. Drag an image or PDF from your file manager onto a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched but a tray exists (Wayland, KDE Plasma); &quot;Show Wheel&quot; is the tray menu&apos;s item of that name.</extracomment>
        <translation>Pulsa Ctrl+Alt+Espacio o elige «Mostrar rueda» en el menú del área de notificación, y aparece una rueda. Arrastra una imagen o un PDF desde tu gestor de archivos hasta un formato para convertirlo.</translation>
    </message>
    <message>
        <source>Hold Alt as you drag over the window for Crop, Add BG, and the other tools.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Mantén pulsada Alt mientras arrastras sobre la ventana para ver «Recortar», «Fondo» y las demás herramientas.</translation>
    </message>
    <message>
        <source>Click the center of the wheel or press Tab to switch to Crop, Add BG, and the other tools.</source>
        <translation>Haz clic en el centro de la rueda o pulsa Tab para cambiar a «Recortar», «Fondo» y las demás herramientas.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Closing Whirlpane’s window ends the program.</source>
        <translation>Los archivos nuevos se guardan junto al original. Al cerrar la ventana de Whirlpane se cierra el programa.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::LaunchOptions</name>
    <message>
        <source>%1 needs a value: see whirlpane --help.</source>
        <translation>%1 necesita un valor: consulte whirlpane --help.</translation>
    </message>
    <message>
        <source>%1 is not an option of Whirlpane: see whirlpane --help.</source>
        <translation>%1 no es una opción de Whirlpane: consulte whirlpane --help.</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>«%1» no existe.</translation>
    </message>
    <message>
        <source>“%1” is a folder; choose the files in it.</source>
        <translation>«%1» es una carpeta; elija los archivos que contiene.</translation>
    </message>
    <message>
        <source>Whirlpane does not open “%1”: images and PDFs only.</source>
        <translation>Whirlpane no abre «%1»: solo imágenes y PDF.</translation>
    </message>
    <message>
        <source>--to and --editor cannot be used together.</source>
        <translation>--to y --editor no se pueden usar juntos.</translation>
    </message>
    <message>
        <source>Name the files to convert: whirlpane --to FORMAT FILE...</source>
        <translation>Indique los archivos que convertir: whirlpane --to FORMAT FILE...</translation>
    </message>
    <message>
        <source>Name the file to edit: whirlpane --editor EDITOR FILE</source>
        <translation>Indique el archivo que editar: whirlpane --editor EDITOR FILE</translation>
    </message>
    <message>
        <source>“%1” is not an editor of Whirlpane: %2.</source>
        <translation>«%1» no es un editor de Whirlpane: %2.</translation>
    </message>
    <message>
        <source>“%1” is not a format Whirlpane converts to.</source>
        <translation>«%1» no es un formato al que Whirlpane convierta.</translation>
    </message>
    <message>
        <source>“%1” cannot be converted to %2.</source>
        <translation>«%1» no se puede convertir a %2.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MarkupController</name>
    <message>
        <source>Redact Image</source>
        <extracomment>The Redact editor&apos;s window title: black out parts of the picture.</extracomment>
        <translation>Censurar imagen</translation>
    </message>
    <message>
        <source>Annotate Image</source>
        <extracomment>The Annotate editor&apos;s window title: draw and write on the picture.</extracomment>
        <translation>Anotar imagen</translation>
    </message>
    <message>
        <source>Save Redacted</source>
        <extracomment>The Redact editor&apos;s Save button.</extracomment>
        <translation>Guardar censurada</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Annotate editor&apos;s Save button.</extracomment>
        <translation>Guardar</translation>
    </message>
    <message>
        <source>Drag over sensitive areas to cover them with solid pixels.</source>
        <translation>Arrastra sobre las zonas sensibles para cubrirlas con píxeles opacos.</translation>
    </message>
    <message>
        <source>Exported redactions cannot be removed.</source>
        <translation>Las censuras exportadas no se pueden quitar.</translation>
    </message>
    <message>
        <source>Text</source>
        <extracomment>The text a new label on the picture shows until the user types another.</extracomment>
        <translation>Texto</translation>
    </message>
    <message>
        <source>Pen</source>
        <extracomment>Annotate&apos;s tool that draws freehand lines.</extracomment>
        <translation>Lápiz</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <extracomment>Annotate&apos;s tool that draws rectangles.</extracomment>
        <translation>Rectángulo</translation>
    </message>
    <message>
        <source>Arrow</source>
        <extracomment>Annotate&apos;s tool that draws arrows.</extracomment>
        <translation>Flecha</translation>
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
        <translation>Grosor</translation>
    </message>
    <message>
        <source>Ink colour</source>
        <extracomment>The colour button&apos;s name for screen readers.</extracomment>
        <translation>Color de la tinta</translation>
    </message>
    <message>
        <source>Text to place on the image</source>
        <translation>Texto para colocar en la imagen</translation>
    </message>
    <message>
        <source>Label text</source>
        <extracomment>The text field&apos;s name for screen readers.</extracomment>
        <translation>Texto de la etiqueta</translation>
    </message>
    <message>
        <source>Undo</source>
        <extracomment>Takes back the last mark.</extracomment>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>Picture to redact</source>
        <extracomment>The picture&apos;s name for screen readers in Redact.</extracomment>
        <translation>Imagen que tachar</translation>
    </message>
    <message>
        <source>Picture to annotate</source>
        <extracomment>The picture&apos;s name for screen readers in Annotate.</extracomment>
        <translation>Imagen que anotar</translation>
    </message>
    <message>
        <source>Drag to draw. Select Text and click to insert text.</source>
        <extracomment>How to use the drawing area; &quot;Text&quot; is Annotate&apos;s tool of that name.</extracomment>
        <translation>Arrastra para dibujar. Elige «Texto» y haz clic para insertar texto.</translation>
    </message>
    <message>
        <source>Tool</source>
        <extracomment>The name of the row of tools (pen, rectangle, arrow, text) for screen readers.</extracomment>
        <translation>Herramienta</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MetadataController</name>
    <message>
        <source>Metadata</source>
        <extracomment>The Metadata editor&apos;s window title: the file&apos;s facts (camera, dates, place).</extracomment>
        <translation>Metadatos</translation>
    </message>
    <message>
        <source>Strip Metadata</source>
        <extracomment>The Metadata editor&apos;s Save button: save a copy without the metadata.</extracomment>
        <translation>Quitar metadatos</translation>
    </message>
    <message>
        <source>Save a new copy with metadata removed.</source>
        <translation>Guardar una copia nueva sin los metadatos.</translation>
    </message>
    <message>
        <source>No metadata found.</source>
        <translation>No se encontraron metadatos.</translation>
    </message>
    <message>
        <source>Metadata entries</source>
        <extracomment>The list of the file&apos;s metadata, named for screen readers.</extracomment>
        <translation>Entradas de metadatos</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PasswordAlert</name>
    <message>
        <source>“%1” is locked with a password</source>
        <extracomment>The heading of the alert that asks for a locked PDF&apos;s password; %1 is the file&apos;s name.</extracomment>
        <translation>«%1» está bloqueado con contraseña</translation>
    </message>
    <message>
        <source>That password does not open it. Type the password again to convert it.</source>
        <extracomment>Below the heading, after a password that did not open the PDF.</extracomment>
        <translation>Esa contraseña no lo abre. Escriba la contraseña de nuevo para convertirlo.</translation>
    </message>
    <message>
        <source>Type its password to convert it. The password is used for this conversion only and is not saved.</source>
        <extracomment>Below the heading. The password is used once and not saved anywhere.</extracomment>
        <translation>Escriba su contraseña para convertirlo. La contraseña solo se usa para esta conversión y no se guarda.</translation>
    </message>
    <message>
        <source>Convert</source>
        <extracomment>The button that converts the locked PDF with the password typed.</extracomment>
        <translation>Convertir</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>The password field&apos;s name for screen readers, and its greyed text while empty.</extracomment>
        <translation>Contraseña</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PortalShortcut</name>
    <message>
        <source>Open or hide the Whirlpane wheel</source>
        <extracomment>How the desktop&apos;s keyboard settings list Whirlpane&apos;s shortcut.</extracomment>
        <translation>Abrir u ocultar la rueda de Whirlpane</translation>
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
            <numerusform>%1 de %n guardado</numerusform>
            <numerusform>%1 de %n guardados</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cancelled — %1 of %n saved</source>
        <extracomment>After the user cancelled a conversion: %1 files of %n were saved.</extracomment>
        <translation>
            <numerusform>Cancelado — %1 de %n guardado</numerusform>
            <numerusform>Cancelado — %1 de %n guardados</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::RadialMenu</name>
    <message>
        <source>Whirlpane radial menu</source>
        <extracomment>The wheel&apos;s name for screen readers: a round menu whose wedges are buttons.</extracomment>
        <translation>Menú radial de Whirlpane</translation>
    </message>
</context>
<context>
    <name>Whirlpane::TrayApplication</name>
    <message>
        <source>Whirlpane — drag a file to convert or edit</source>
        <extracomment>The tray icon&apos;s tool tip.</extracomment>
        <translation>Whirlpane: arrastra un archivo para convertirlo o editarlo</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Use the tray menu or Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Otro programa usa Ctrl+Alt+Espacio, así que este atajo no puede abrir la rueda. Usa en su lugar el menú del área de notificación o «Abrir con».</translation>
    </message>
    <message>
        <source>Choose a file to convert or edit.</source>
        <extracomment>The file chooser&apos;s title.</extracomment>
        <translation>Elige un archivo para convertir o editar.</translation>
    </message>
    <message>
        <source>Images and PDFs</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Imágenes y PDF</translation>
    </message>
    <message>
        <source>Open File…</source>
        <extracomment>The tray menu&apos;s item that opens the file chooser.</extracomment>
        <translation>Abrir archivo…</translation>
    </message>
    <message>
        <source>Show Wheel</source>
        <extracomment>The wheel is Whirlpane&apos;s round menu of formats and tools.</extracomment>
        <translation>Mostrar rueda</translation>
    </message>
    <message>
        <source>Show When Dragging Files</source>
        <extracomment>A check item: the wheel comes up by itself while files are dragged.</extracomment>
        <translation>Mostrar al arrastrar archivos</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Choose Show Wheel and drop the files on it instead.</source>
        <translation>Sin efecto en este escritorio: los archivos arrastrados aquí no abren la rueda por sí solos, porque Wayland no permite que ningún programa observe los arrastres de otros programas. Elige «Mostrar rueda» y suelta los archivos sobre ella.</translation>
    </message>
    <message>
        <source>How to Use…</source>
        <extracomment>The tray menu&apos;s item that shows the introduction again.</extracomment>
        <translation>Cómo se usa…</translation>
    </message>
    <message>
        <source>Open at Login</source>
        <extracomment>A check item: Whirlpane starts when the user logs in.</extracomment>
        <translation>Abrir al iniciar sesión</translation>
    </message>
    <message>
        <source>Quit Whirlpane</source>
        <extracomment>The tray menu&apos;s last item: ends the program.</extracomment>
        <translation>Salir de Whirlpane</translation>
    </message>
    <message>
        <source>Converting to %1</source>
        <extracomment>The progress toast&apos;s title; %1 is a format name such as PNG.</extracomment>
        <translation>Convirtiendo a %1</translation>
    </message>
    <message>
        <source>%1: left out, because it has no extension that tells its format.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1: omitido, porque no tiene una extensión que indique su formato.</translation>
    </message>
    <message>
        <source>%1: left out, because Whirlpane takes only images and PDFs.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1: omitido, porque Whirlpane solo admite imágenes y PDF.</translation>
    </message>
    <message>
        <source>Choose a folder for the converted files</source>
        <extracomment>The folder chooser&apos;s title, for converted files their own folder cannot take.</extracomment>
        <translation>Elija una carpeta para los archivos convertidos</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <extracomment>The failure alert&apos;s button for files whose folder cannot take the converted files.</extracomment>
        <translation>Elegir otra carpeta…</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Drop files on Whirlpane&apos;s window or use Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Otro programa usa Ctrl+Alt+Espacio, así que este atajo no puede abrir la rueda. Suelta en su lugar los archivos en la ventana de Whirlpane o usa «Abrir con».</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Drop the files on Whirlpane&apos;s window instead.</source>
        <extracomment>Where the program has its own window (no tray).</extracomment>
        <translation>Sin efecto en este escritorio: los archivos arrastrados aquí no abren la rueda por sí solos, porque Wayland no permite que ningún programa observe los arrastres de otros programas. Suelta los archivos en la ventana de Whirlpane.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelPainter</name>
    <message numerus="yes">
        <source>%n files</source>
        <extracomment>The centre of the wheel: how many files the wheel acts on (two or more).</extracomment>
        <translation>
            <numerusform>%n archivo</numerusform>
            <numerusform>%n archivos</numerusform>
        </translation>
    </message>
    <message>
        <source>TOOLS</source>
        <extracomment>The centre of the tools wheel, in capitals: the wheel offers the editors.</extracomment>
        <translation>HERRAMIENTAS</translation>
    </message>
    <message>
        <source>CONVERT</source>
        <extracomment>The centre of the formats wheel, in capitals, a verb: the wheel offers formats to convert to.</extracomment>
        <translation>CONVERTIR</translation>
    </message>
    <message>
        <source>Drop files
here</source>
        <extracomment>The centre of the wheel in Whirlpane&apos;s window while it waits for files, on two short lines (the line break is kept).</extracomment>
        <translation>Suelta
archivos aquí</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelWindow</name>
    <message>
        <source>Menu</source>
        <extracomment>The button of Whirlpane&apos;s window that opens its menu (the tray menu&apos;s items).</extracomment>
        <translation>Menú</translation>
    </message>
</context>
</TS>
