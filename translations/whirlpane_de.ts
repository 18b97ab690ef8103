<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Whirlpane::AdjustmentController</name>
    <message>
        <source>Edit Image</source>
        <extracomment>The Edit editor&apos;s window title: adjust the colours, turn and mirror.</extracomment>
        <translation>Bild bearbeiten</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Edit editor&apos;s Save button.</extracomment>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Brightness</source>
        <extracomment>The slider that makes the picture lighter or darker.</extracomment>
        <translation>Helligkeit</translation>
    </message>
    <message>
        <source>Contrast</source>
        <extracomment>The slider of the difference between light and dark.</extracomment>
        <translation>Kontrast</translation>
    </message>
    <message>
        <source>Saturation</source>
        <extracomment>The slider of the colours&apos; strength.</extracomment>
        <translation>Sättigung</translation>
    </message>
    <message>
        <source>Rotate 90°</source>
        <extracomment>A quarter turn clockwise.</extracomment>
        <translation>90° drehen</translation>
    </message>
    <message>
        <source>Flip</source>
        <extracomment>Mirror the picture, left to right.</extracomment>
        <translation>Spiegeln</translation>
    </message>
</context>
<context>
    <name>Whirlpane::Autostart</name>
    <message>
        <source>Could not remove &quot;%1&quot;</source>
        <extracomment>Turning off &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>„%1“ konnte nicht entfernt werden</translation>
    </message>
    <message>
        <source>Could not create &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the folder of login entries.</extracomment>
        <translation>„%1“ konnte nicht angelegt werden</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>„%1“ konnte nicht geschrieben werden</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundController</name>
    <message>
        <source>Add BG</source>
        <extracomment>The Add BG editor&apos;s window title: put the picture on a backdrop. &quot;BG&quot; is short for background; translate it in full where it fits.</extracomment>
        <translation>Hintergrund hinzufügen</translation>
    </message>
    <message>
        <source>Save with Background</source>
        <extracomment>The Add BG editor&apos;s Save button.</extracomment>
        <translation>Mit Hintergrund speichern</translation>
    </message>
    <message>
        <source>Background</source>
        <extracomment>The label before the rows of backdrops to choose from.</extracomment>
        <translation>Hintergrund</translation>
    </message>
    <message>
        <source>%1 background</source>
        <extracomment>A backdrop&apos;s name for screen readers; %1 is its name, such as Sunset or Blue.</extracomment>
        <translation>Hintergrund „%1“</translation>
    </message>
    <message>
        <source>Choose background image</source>
        <extracomment>The button that picks a photograph of the user&apos;s as the backdrop.</extracomment>
        <translation>Hintergrundbild wählen</translation>
    </message>
    <message>
        <source>Custom colour</source>
        <extracomment>The button that picks a colour of the user&apos;s own as the backdrop.</extracomment>
        <translation>Eigene Farbe</translation>
    </message>
    <message>
        <source>Padding</source>
        <extracomment>The slider of the space between the picture and the edge of the backdrop.</extracomment>
        <translation>Abstand</translation>
    </message>
    <message>
        <source>Corners</source>
        <extracomment>The slider of how round the picture&apos;s corners are.</extracomment>
        <translation>Ecken</translation>
    </message>
    <message>
        <source>Shadow</source>
        <extracomment>The slider of the shadow under the picture.</extracomment>
        <translation>Schatten</translation>
    </message>
    <message>
        <source>Ratio</source>
        <extracomment>The label before the backdrop&apos;s aspect ratios.</extracomment>
        <translation>Seitenverhältnis</translation>
    </message>
    <message>
        <source>Images</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>At full size this is too large to save; it will be saved at %1 × %2 pixels, scaled down.</source>
        <extracomment>Add BG&apos;s note when the result at full size would be too large; %1 × %2 is the smaller size in pixels that Save writes instead.</extracomment>
        <translation>In voller Größe ist das Ergebnis zu groß zum Speichern; es wird verkleinert mit %1 × %2 Pixeln gespeichert.</translation>
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
        <translation>Sonnenuntergang</translation>
    </message>
    <message>
        <source>Daybreak</source>
        <translation>Morgenröte</translation>
    </message>
    <message>
        <source>Sorbet</source>
        <translation>Sorbet</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Wolke</translation>
    </message>
    <message>
        <source>Lavender</source>
        <translation>Lavendel</translation>
    </message>
    <message>
        <source>Garden</source>
        <translation>Garten</translation>
    </message>
    <message>
        <source>Sky</source>
        <translation>Himmel</translation>
    </message>
    <message>
        <source>Lagoon</source>
        <translation>Lagune</translation>
    </message>
    <message>
        <source>Ice</source>
        <translation>Eis</translation>
    </message>
    <message>
        <source>Dusk</source>
        <translation>Dämmerung</translation>
    </message>
    <message>
        <source>Mint</source>
        <translation>Minze</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Limette</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Petrol</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Charcoal</source>
        <translation>Anthrazit</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Violett</translation>
    </message>
    <message>
        <source>Pink</source>
        <translation>Rosa</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BatchConversion</name>
    <message>
        <source>The conversion stopped unexpectedly (%1).</source>
        <extracomment>A conversion&apos;s worker process ended by a signal; %1 names the signal (&quot;Killed&quot;).</extracomment>
        <translation>Die Umwandlung wurde unerwartet beendet (%1).</translation>
    </message>
    <message>
        <source>The conversion failed without saying why (status %1).</source>
        <extracomment>A conversion&apos;s worker process failed and gave no reason; %1 is its exit status.</extracomment>
        <translation>Die Umwandlung ist ohne Angabe eines Grundes fehlgeschlagen (Status %1).</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CompressionController</name>
    <message>
        <source>Compress</source>
        <extracomment>The Compress editor&apos;s window title: the tool that makes a file smaller.</extracomment>
        <translation>Komprimieren</translation>
    </message>
    <message>
        <source>Compress &amp; Save</source>
        <extracomment>The Compress editor&apos;s Save button.</extracomment>
        <translation>Komprimieren und speichern</translation>
    </message>
    <message>
        <source>Quality</source>
        <extracomment>The slider of the JPEG or WebP quality the file is written at.</extracomment>
        <translation>Qualität</translation>
    </message>
    <message>
        <source>Lower quality makes a smaller file. A new copy is saved beside the original.</source>
        <translation>Eine geringere Qualität ergibt eine kleinere Datei. Eine neue Kopie wird neben dem Original gespeichert.</translation>
    </message>
    <message>
        <source>Original: %1</source>
        <extracomment>The size of the file as it is; %1 is a size such as &quot;2.4 MB&quot;.</extracomment>
        <translation>Original: %1</translation>
    </message>
    <message>
        <source>The copy carries no metadata: the date taken, the place and the camera are left out too.</source>
        <extracomment>Below the slider: what the compressed copy of a photo leaves out of the file.</extracomment>
        <translation>Die Kopie enthält keine Metadaten: Aufnahmedatum, Ort und Kamera werden ebenfalls weggelassen.</translation>
    </message>
    <message>
        <source>New copy: estimating…</source>
        <extracomment>Beside the original&apos;s size while the size of the compressed copy is worked out.</extracomment>
        <translation>Neue Kopie: wird geschätzt…</translation>
    </message>
    <message>
        <source>New copy: about %1</source>
        <extracomment>The size the compressed copy will have; %1 is a size such as &quot;1.2 MB&quot;.</extracomment>
        <translation>Neue Kopie: etwa %1</translation>
    </message>
    <message>
        <source>New copy: no smaller</source>
        <extracomment>Beside the original&apos;s size: at this quality the copy would not be smaller.</extracomment>
        <translation>Neue Kopie: nicht kleiner</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropCanvas</name>
    <message>
        <source>Crop selection. Drag edges or corners to resize; drag inside to move.</source>
        <extracomment>The crop area&apos;s name for screen readers, with how to use it.</extracomment>
        <translation>Zuschnitt. Zum Ändern der Größe an Kanten oder Ecken ziehen, zum Verschieben im Inneren ziehen.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropController</name>
    <message>
        <source>Crop Image</source>
        <extracomment>The Crop editor&apos;s window title.</extracomment>
        <translation>Bild zuschneiden</translation>
    </message>
    <message>
        <source>Apply</source>
        <extracomment>The Crop editor&apos;s Save button: save the cut picture.</extracomment>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>Aspect ratio</source>
        <extracomment>The label before the choices of the cut&apos;s shape (free, square, 16:9 ...).</extracomment>
        <translation>Seitenverhältnis</translation>
    </message>
    <message>
        <source>Free</source>
        <extracomment>The first choice of the aspect ratio: any shape.</extracomment>
        <translation>Frei</translation>
    </message>
    <message>
        <source>W</source>
        <extracomment>Short for width, before the width field (one or two letters).</extracomment>
        <translation>B</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <extracomment>The width field&apos;s name for screen readers.</extracomment>
        <translation>Breite in Pixeln</translation>
    </message>
    <message>
        <source>H</source>
        <extracomment>Short for height, before the height field (one or two letters).</extracomment>
        <translation>H</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <extracomment>The height field&apos;s name for screen readers.</extracomment>
        <translation>Höhe in Pixeln</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorCoordinator</name>
    <message>
        <source>The “%1” editor is not available.</source>
        <extracomment>%1 is the name of an editor asked for that does not exist.</extracomment>
        <translation>Den Editor „%1“ gibt es nicht.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorFrame</name>
    <message>
        <source>The image could not be rendered.</source>
        <extracomment>An editor could not make the picture it was to save.</extracomment>
        <translation>Das Bild konnte nicht erzeugt werden.</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <extracomment>An editor&apos;s save failed without a reason of its own.</extracomment>
        <translation>Die Datei konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Close %1</source>
        <extracomment>The close button&apos;s name for screen readers; %1 is the editor&apos;s title.</extracomment>
        <translation>„%1“ schließen</translation>
    </message>
    <message>
        <source>Reset</source>
        <extracomment>The editor&apos;s button that undoes every change made in the window.</extracomment>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Saving…</source>
        <extracomment>The action bar&apos;s status line while the new file is written.</extracomment>
        <translation>Wird gespeichert …</translation>
    </message>
    <message>
        <source>Loading…</source>
        <extracomment>The action bar&apos;s status line while an editor decodes the whole picture; the window shows a reduced copy meanwhile.</extracomment>
        <translation>Wird geladen …</translation>
    </message>
    <message>
        <source>Could not open</source>
        <extracomment>The action bar&apos;s status line when the whole picture could not be decoded; nothing can be saved.</extracomment>
        <translation>Öffnen fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorTable</name>
    <message>
        <source>COMPRESS</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that makes a file smaller.</extracomment>
        <translation>KOMPRIMIEREN</translation>
    </message>
    <message>
        <source>METADATA</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that shows and removes a file&apos;s metadata.</extracomment>
        <translation>METADATEN</translation>
    </message>
    <message>
        <source>EDIT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: adjust brightness, contrast and saturation, turn and mirror.</extracomment>
        <translation>BEARBEITEN</translation>
    </message>
    <message>
        <source>ANNOTATE</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: draw and write on the picture.</extracomment>
        <translation>BESCHRIFTEN</translation>
    </message>
    <message>
        <source>ADD BG</source>
        <extracomment>A wedge of the tools wheel, in capitals, short for &quot;add background&quot;: put the picture on a backdrop. Keep it as short; an abbreviation is fine.</extracomment>
        <translation>HINTERGRUND</translation>
    </message>
    <message>
        <source>CROP</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: cut the picture to a rectangle.</extracomment>
        <translation>ZUSCHNEIDEN</translation>
    </message>
    <message>
        <source>REDACT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: black out parts of the picture.</extracomment>
        <translation>SCHWÄRZEN</translation>
    </message>
    <message>
        <source>The file changed while it was opened.</source>
        <extracomment>An editor&apos;s picture changed on disk while the editor was opening it.</extracomment>
        <translation>Die Datei hat sich beim Öffnen geändert.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ErrorAlert</name>
    <message>
        <source>Couldn’t complete this file</source>
        <extracomment>The alert&apos;s heading; the reason follows below it.</extracomment>
        <translation>Diese Datei konnte nicht verarbeitet werden</translation>
    </message>
    <message numerus="yes">
        <source>Couldn’t complete %n files</source>
        <extracomment>The alert&apos;s heading over the reasons of several files, %n of them (2 or more).</extracomment>
        <translation>
            <numerusform>%n Datei konnte nicht verarbeitet werden</numerusform>
            <numerusform>%n Dateien konnten nicht verarbeitet werden</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::IntroductionWindow</name>
    <message>
        <source>Drag an image or PDF in your file manager and hold still for a moment. A wheel appears around your pointer. Drop on a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where the wheel comes up during drags (X11).</extracomment>
        <translation>Ziehen Sie ein Bild oder PDF in Ihrer Dateiverwaltung und halten Sie kurz still. Um den Mauszeiger erscheint ein Rad. Lassen Sie die Datei auf einem Format los, um sie umzuwandeln.</translation>
    </message>
    <message>
        <source>Press Alt while dragging to switch to Crop, Add BG, and the other tools. Press it again to switch back.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Drücken Sie beim Ziehen Alt, um zu „Zuschneiden“, „Hintergrund“ und den anderen Werkzeugen zu wechseln. Ein erneuter Druck wechselt zurück.</translation>
    </message>
    <message>
        <source>Click the center to switch wheels; drag it to move. Escape dismisses. Ctrl+Alt+Space opens or hides the wheel.</source>
        <extracomment>The centre is the middle of the wheel; dragging it moves the wheel.</extracomment>
        <translation>Ein Klick in die Mitte wechselt das Rad, Ziehen an der Mitte verschiebt es. Esc schließt es. Strg+Alt+Leertaste öffnet oder schließt das Rad.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Whirlpane lives in the system tray, with no window of its own.</source>
        <translation>Neue Dateien werden neben dem Original gespeichert. Whirlpane wohnt im Infobereich der Kontrollleiste und hat kein eigenes Fenster.</translation>
    </message>
    <message>
        <source>Your files. One gesture.</source>
        <extracomment>The introduction&apos;s heading, a slogan: everything is done with one drag.</extracomment>
        <translation>Ihre Dateien. Eine Geste.</translation>
    </message>
    <message>
        <source>Open a File…</source>
        <extracomment>The introduction&apos;s button: opens the file chooser.</extracomment>
        <translation>Datei öffnen …</translation>
    </message>
    <message>
        <source>To open the wheel with a key of your choice, add a custom shortcut that runs “whirlpane --show-wheel”: in GNOME under Settings › Keyboard › View and Customize Shortcuts › Custom Shortcuts; in KDE Plasma under System Settings › Keyboard › Shortcuts › Add New › Command or Script.</source>
        <extracomment>How to bind &quot;whirlpane --show-wheel&quot; to a key on desktops that take no key grabs; the menu paths are those of GNOME Settings and KDE Plasma&apos;s System Settings.</extracomment>
        <translation>Um das Rad mit einer Taste Ihrer Wahl zu öffnen, legen Sie ein eigenes Tastenkürzel an, das „whirlpane --show-wheel“ ausführt: in GNOME unter Einstellungen › Tastatur › Tastenkürzel anzeigen und anpassen › Eigene Tastenkürzel; in KDE Plasma unter Systemeinstellungen › Tastatur › Kurzbefehle › Neu hinzufügen › Befehl oder Skript.</translation>
    </message>
    <message>
        <source>Drag an image or PDF from your file manager onto Whirlpane’s window and drop it on a format to convert, or on the center to open the wheel for it.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched and no tray shows Whirlpane (GNOME): its own window takes the files.</extracomment>
        <translation>Ziehen Sie ein Bild oder PDF aus Ihrer Dateiverwaltung in das Fenster von Whirlpane und lassen Sie es auf einem Format los, um es umzuwandeln, oder in der Mitte, um das Rad dafür zu öffnen.</translation>
    </message>
    <message>
        <source>Press Ctrl+Alt+Space or choose Show Wheel in the tray menu, and a wheel appears. Drag an image or PDF from your file manager onto a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched but a tray exists (Wayland, KDE Plasma); &quot;Show Wheel&quot; is the tray menu&apos;s item of that name.</extracomment>
        <translation>Drücken Sie Strg+Alt+Leertaste oder wählen Sie „Rad anzeigen“ im Menü des Infobereichs, und ein Rad erscheint. Ziehen Sie ein Bild oder PDF aus Ihrer Dateiverwaltung auf ein Format, um es umzuwandeln.</translation>
    </message>
    <message>
        <source>Hold Alt as you drag over the window for Crop, Add BG, and the other tools.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Halten Sie beim Ziehen über das Fenster Alt gedrückt, um „Zuschneiden“, „Hintergrund“ und die anderen Werkzeuge zu erhalten.</translation>
    </message>
    <message>
        <source>Click the center of the wheel or press Tab to switch to Crop, Add BG, and the other tools.</source>
        <translation>Klicken Sie in die Mitte des Rads oder drücken Sie die Tabulatortaste, um zu „Zuschneiden“, „Hintergrund“ und den anderen Werkzeugen zu wechseln.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Closing Whirlpane’s window ends the program.</source>
        <translation>Neue Dateien werden neben dem Original gespeichert. Das Schließen des Fensters von Whirlpane beendet das Programm.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::LaunchOptions</name>
    <message>
        <source>%1 needs a value: see whirlpane --help.</source>
        <translation>%1 braucht einen Wert: siehe whirlpane --help.</translation>
    </message>
    <message>
        <source>%1 is not an option of Whirlpane: see whirlpane --help.</source>
        <translation>%1 ist keine Option von Whirlpane: siehe whirlpane --help.</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>„%1“ gibt es nicht.</translation>
    </message>
    <message>
        <source>“%1” is a folder; choose the files in it.</source>
        <translation>„%1“ ist ein Ordner; wählen Sie die Dateien darin.</translation>
    </message>
    <message>
        <source>Whirlpane does not open “%1”: images and PDFs only.</source>
        <translation>Whirlpane öffnet „%1“ nicht: nur Bilder und PDFs.</translation>
    </message>
    <message>
        <source>--to and --editor cannot be used together.</source>
        <translation>--to und --editor können nicht zusammen verwendet werden.</translation>
    </message>
    <message>
        <source>Name the files to convert: whirlpane --to FORMAT FILE...</source>
        <translation>Nennen Sie die umzuwandelnden Dateien: whirlpane --to FORMAT FILE...</translation>
    </message>
    <message>
        <source>Name the file to edit: whirlpane --editor EDITOR FILE</source>
        <translation>Nennen Sie die zu bearbeitende Datei: whirlpane --editor EDITOR FILE</translation>
    </message>
    <message>
        <source>“%1” is not an editor of Whirlpane: %2.</source>
        <translation>„%1“ ist kein Editor von Whirlpane: %2.</translation>
    </message>
    <message>
        <source>“%1” is not a format Whirlpane converts to.</source>
        <translation>„%1“ ist kein Format, in das Whirlpane umwandelt.</translation>
    </message>
    <message>
        <source>“%1” cannot be converted to %2.</source>
        <translation>„%1“ kann nicht in %2 umgewandelt werden.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MarkupController</name>
    <message>
        <source>Redact Image</source>
        <extracomment>The Redact editor&apos;s window title: black out parts of the picture.</extracomment>
        <translation>Bild schwärzen</translation>
    </message>
    <message>
        <source>Annotate Image</source>
        <extracomment>The Annotate editor&apos;s window title: draw and write on the picture.</extracomment>
        <translation>Bild beschriften</translation>
    </message>
    <message>
        <source>Save Redacted</source>
        <extracomment>The Redact editor&apos;s Save button.</extracomment>
        <translation>Geschwärzt speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Annotate editor&apos;s Save button.</extracomment>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Drag over sensitive areas to cover them with solid pixels.</source>
        <translation>Ziehen Sie über vertrauliche Bereiche, um sie mit deckenden Pixeln abzudecken.</translation>
    </message>
    <message>
        <source>Exported redactions cannot be removed.</source>
        <translation>Exportierte Schwärzungen lassen sich nicht entfernen.</translation>
    </message>
    <message>
        <source>Text</source>
        <extracomment>The text a new label on the picture shows until the user types another.</extracomment>
        <translation>Text</translation>
    </message>
    <message>
        <source>Pen</source>
        <extracomment>Annotate&apos;s tool that draws freehand lines.</extracomment>
        <translation>Stift</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <extracomment>Annotate&apos;s tool that draws rectangles.</extracomment>
        <translation>Rechteck</translation>
    </message>
    <message>
        <source>Arrow</source>
        <extracomment>Annotate&apos;s tool that draws arrows.</extracomment>
        <translation>Pfeil</translation>
    </message>
    <message>
        <source>Text</source>
        <comment>tool</comment>
        <extracomment>Annotate&apos;s tool that places text; a noun.</extracomment>
        <translation>Text</translation>
    </message>
    <message>
        <source>Stroke</source>
        <extracomment>The slider of the line width the pen, rectangles and arrows draw with.</extracomment>
        <translation>Strichstärke</translation>
    </message>
    <message>
        <source>Ink colour</source>
        <extracomment>The colour button&apos;s name for screen readers.</extracomment>
        <translation>Stiftfarbe</translation>
    </message>
    <message>
        <source>Text to place on the image</source>
        <translation>Text für das Bild</translation>
    </message>
    <message>
        <source>Label text</source>
        <extracomment>The text field&apos;s name for screen readers.</extracomment>
        <translation>Beschriftungstext</translation>
    </message>
    <message>
        <source>Undo</source>
        <extracomment>Takes back the last mark.</extracomment>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Picture to redact</source>
        <extracomment>The picture&apos;s name for screen readers in Redact.</extracomment>
        <translation>Bild zum Schwärzen</translation>
    </message>
    <message>
        <source>Picture to annotate</source>
        <extracomment>The picture&apos;s name for screen readers in Annotate.</extracomment>
        <translation>Bild zum Beschriften</translation>
    </message>
    <message>
        <source>Drag to draw. Select Text and click to insert text.</source>
        <extracomment>How to use the drawing area; &quot;Text&quot; is Annotate&apos;s tool of that name.</extracomment>
        <translation>Zum Zeichnen ziehen. „Text“ wählen und klicken, um Text einzufügen.</translation>
    </message>
    <message>
        <source>Tool</source>
        <extracomment>The name of the row of tools (pen, rectangle, arrow, text) for screen readers.</extracomment>
        <translation>Werkzeug</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MetadataController</name>
    <message>
        <source>Metadata</source>
        <extracomment>The Metadata editor&apos;s window title: the file&apos;s facts (camera, dates, place).</extracomment>
        <translation>Metadaten</translation>
    </message>
    <message>
        <source>Strip Metadata</source>
        <extracomment>The Metadata editor&apos;s Save button: save a copy without the metadata.</extracomment>
        <translation>Metadaten entfernen</translation>
    </message>
    <message>
        <source>Save a new copy with metadata removed.</source>
        <translation>Eine neue Kopie ohne Metadaten speichern.</translation>
    </message>
    <message>
        <source>No metadata found.</source>
        <translation>Keine Metadaten gefunden.</translation>
    </message>
    <message>
        <source>Metadata entries</source>
        <extracomment>The list of the file&apos;s metadata, named for screen readers.</extracomment>
        <translation>Metadaten-Einträge</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PasswordAlert</name>
    <message>
        <source>“%1” is locked with a password</source>
        <extracomment>The heading of the alert that asks for a locked PDF&apos;s password; %1 is the file&apos;s name.</extracomment>
        <translation>„%1“ ist mit einem Passwort gesperrt</translation>
    </message>
    <message>
        <source>That password does not open it. Type the password again to convert it.</source>
        <extracomment>Below the heading, after a password that did not open the PDF.</extracomment>
        <translation>Dieses Passwort öffnet es nicht. Geben Sie das Passwort erneut ein, um es umzuwandeln.</translation>
    </message>
    <message>
        <source>Type its password to convert it. The password is used for this conversion only and is not saved.</source>
        <extracomment>Below the heading. The password is used once and not saved anywhere.</extracomment>
        <translation>Geben Sie sein Passwort ein, um es umzuwandeln. Das Passwort gilt nur für diese Umwandlung und wird nicht gespeichert.</translation>
    </message>
    <message>
        <source>Convert</source>
        <extracomment>The button that converts the locked PDF with the password typed.</extracomment>
        <translation>Umwandeln</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>The password field&apos;s name for screen readers, and its greyed text while empty.</extracomment>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PortalShortcut</name>
    <message>
        <source>Open or hide the Whirlpane wheel</source>
        <extracomment>How the desktop&apos;s keyboard settings list Whirlpane&apos;s shortcut.</extracomment>
        <translation>Whirlpane-Rad öffnen oder schließen</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ProgressToast</name>
    <message>
        <source>Cancel</source>
        <extracomment>The toast&apos;s close button, for screen readers: it stops the conversion.</extracomment>
        <translation>Abbrechen</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n saved</source>
        <extracomment>%1 files of %n are saved so far.</extracomment>
        <translation>
            <numerusform>%1 von %n gespeichert</numerusform>
            <numerusform>%1 von %n gespeichert</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cancelled — %1 of %n saved</source>
        <extracomment>After the user cancelled a conversion: %1 files of %n were saved.</extracomment>
        <translation>
            <numerusform>Abgebrochen – %1 von %n gespeichert</numerusform>
            <numerusform>Abgebrochen – %1 von %n gespeichert</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::RadialMenu</name>
    <message>
        <source>Whirlpane radial menu</source>
        <extracomment>The wheel&apos;s name for screen readers: a round menu whose wedges are buttons.</extracomment>
        <translation>Whirlpane-Radialmenü</translation>
    </message>
</context>
<context>
    <name>Whirlpane::TrayApplication</name>
    <message>
        <source>Whirlpane — drag a file to convert or edit</source>
        <extracomment>The tray icon&apos;s tool tip.</extracomment>
        <translation>Whirlpane – Datei zum Umwandeln oder Bearbeiten ziehen</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Use the tray menu or Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Ein anderes Programm belegt Strg+Alt+Leertaste, daher öffnet diese Taste das Rad nicht. Verwenden Sie stattdessen das Menü im Infobereich oder „Öffnen mit“.</translation>
    </message>
    <message>
        <source>Choose a file to convert or edit.</source>
        <extracomment>The file chooser&apos;s title.</extracomment>
        <translation>Wählen Sie eine Datei zum Umwandeln oder Bearbeiten.</translation>
    </message>
    <message>
        <source>Images and PDFs</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Bilder und PDFs</translation>
    </message>
    <message>
        <source>Open File…</source>
        <extracomment>The tray menu&apos;s item that opens the file chooser.</extracomment>
        <translation>Datei öffnen …</translation>
    </message>
    <message>
        <source>Show Wheel</source>
        <extracomment>The wheel is Whirlpane&apos;s round menu of formats and tools.</extracomment>
        <translation>Rad anzeigen</translation>
    </message>
    <message>
        <source>Show When Dragging Files</source>
        <extracomment>A check item: the wheel comes up by itself while files are dragged.</extracomment>
        <translation>Beim Ziehen von Dateien anzeigen</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Choose Show Wheel and drop the files on it instead.</source>
        <translation>Ohne Wirkung auf dieser Arbeitsoberfläche: Hierher gezogene Dateien öffnen das Rad nicht von selbst, weil Wayland keinem Programm erlaubt, die Ziehvorgänge anderer Programme zu beobachten. Wählen Sie stattdessen „Rad anzeigen“ und legen Sie die Dateien darauf ab.</translation>
    </message>
    <message>
        <source>How to Use…</source>
        <extracomment>The tray menu&apos;s item that shows the introduction again.</extracomment>
        <translation>Kurzanleitung …</translation>
    </message>
    <message>
        <source>Open at Login</source>
        <extracomment>A check item: Whirlpane starts when the user logs in.</extracomment>
        <translation>Bei der Anmeldung starten</translation>
    </message>
    <message>
        <source>Quit Whirlpane</source>
        <extracomment>The tray menu&apos;s last item: ends the program.</extracomment>
        <translation>Whirlpane beenden</translation>
    </message>
    <message>
        <source>Converting to %1</source>
        <extracomment>The progress toast&apos;s title; %1 is a format name such as PNG.</extracomment>
        <translation>Umwandlung in %1</translation>
    </message>
    <message>
        <source>%1: left out, because it has no extension that tells its format.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1: ausgelassen, weil die Datei keine Endung hat, die ihr Format verrät.</translation>
    </message>
    <message>
        <source>%1: left out, because Whirlpane takes only images and PDFs.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1: ausgelassen, weil Whirlpane nur Bilder und PDFs annimmt.</translation>
    </message>
    <message>
        <source>Choose a folder for the converted files</source>
        <extracomment>The folder chooser&apos;s title, for converted files their own folder cannot take.</extracomment>
        <translation>Einen Ordner für die umgewandelten Dateien wählen</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <extracomment>The failure alert&apos;s button for files whose folder cannot take the converted files.</extracomment>
        <translation>Anderen Ordner wählen…</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Drop files on Whirlpane&apos;s window or use Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Ein anderes Programm belegt Strg+Alt+Leertaste, daher öffnet diese Taste das Rad nicht. Legen Sie Dateien stattdessen im Fenster von Whirlpane ab oder verwenden Sie „Öffnen mit“.</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Drop the files on Whirlpane&apos;s window instead.</source>
        <extracomment>Where the program has its own window (no tray).</extracomment>
        <translation>Ohne Wirkung auf dieser Arbeitsoberfläche: Hierher gezogene Dateien öffnen das Rad nicht von selbst, weil Wayland keinem Programm erlaubt, die Ziehvorgänge anderer Programme zu beobachten. Legen Sie die Dateien stattdessen im Fenster von Whirlpane ab.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelPainter</name>
    <message numerus="yes">
        <source>%n files</source>
        <extracomment>The centre of the wheel: how many files the wheel acts on (two or more).</extracomment>
        <translation>
            <numerusform>%n Datei</numerusform>
            <numerusform>%n Dateien</numerusform>
        </translation>
    </message>
    <message>
        <source>TOOLS</source>
        <extracomment>The centre of the tools wheel, in capitals: the wheel offers the editors.</extracomment>
        <translation>WERKZEUGE</translation>
    </message>
    <message>
        <source>CONVERT</source>
        <extracomment>The centre of the formats wheel, in capitals, a verb: the wheel offers formats to convert to.</extracomment>
        <translation>UMWANDELN</translation>
    </message>
    <message>
        <source>Drop files
here</source>
        <extracomment>The centre of the wheel in Whirlpane&apos;s window while it waits for files, on two short lines (the line break is kept).</extracomment>
        <translation>Dateien
hier ablegen</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelWindow</name>
    <message>
        <source>Menu</source>
        <extracomment>The button of Whirlpane&apos;s window that opens its menu (the tray menu&apos;s items).</extracomment>
        <translation>Menü</translation>
    </message>
</context>
</TS>
