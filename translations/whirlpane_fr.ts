<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr_FR">
<context>
    <name>Whirlpane::AdjustmentController</name>
    <message>
        <source>Edit Image</source>
        <extracomment>The Edit editor&apos;s window title: adjust the colours, turn and mirror.</extracomment>
        <translation>Modifier l’image</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Edit editor&apos;s Save button.</extracomment>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Brightness</source>
        <extracomment>The slider that makes the picture lighter or darker.</extracomment>
        <translation>Luminosité</translation>
    </message>
    <message>
        <source>Contrast</source>
        <extracomment>The slider of the difference between light and dark.</extracomment>
        <translation>Contraste</translation>
    </message>
    <message>
        <source>Saturation</source>
        <extracomment>The slider of the colours&apos; strength.</extracomment>
        <translation>Saturation</translation>
    </message>
    <message>
        <source>Rotate 90°</source>
        <extracomment>A quarter turn clockwise.</extracomment>
        <translation>Pivoter de 90°</translation>
    </message>
    <message>
        <source>Flip</source>
        <extracomment>Mirror the picture, left to right.</extracomment>
        <translation>Retourner</translation>
    </message>
</context>
<context>
    <name>Whirlpane::Autostart</name>
    <message>
        <source>Could not remove &quot;%1&quot;</source>
        <extracomment>Turning off &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>Impossible de supprimer «&#x202f;%1&#x202f;»</translation>
    </message>
    <message>
        <source>Could not create &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the folder of login entries.</extracomment>
        <translation>Impossible de créer «&#x202f;%1&#x202f;»</translation>
    </message>
    <message>
        <source>Could not write &quot;%1&quot;</source>
        <extracomment>Turning on &quot;Open at Login&quot; failed; %1 is the login entry&apos;s file.</extracomment>
        <translation>Impossible d’écrire «&#x202f;%1&#x202f;»</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BackgroundController</name>
    <message>
        <source>Add BG</source>
        <extracomment>The Add BG editor&apos;s window title: put the picture on a backdrop. &quot;BG&quot; is short for background; translate it in full where it fits.</extracomment>
        <translation>Ajouter un fond</translation>
    </message>
    <message>
        <source>Save with Background</source>
        <extracomment>The Add BG editor&apos;s Save button.</extracomment>
        <translation>Enregistrer avec le fond</translation>
    </message>
    <message>
        <source>Background</source>
        <extracomment>The label before the rows of backdrops to choose from.</extracomment>
        <translation>Fond</translation>
    </message>
    <message>
        <source>%1 background</source>
        <extracomment>A backdrop&apos;s name for screen readers; %1 is its name, such as Sunset or Blue.</extracomment>
        <translation>Fond «&#x202f;%1&#x202f;»</translation>
    </message>
    <message>
        <source>Choose background image</source>
        <extracomment>The button that picks a photograph of the user&apos;s as the backdrop.</extracomment>
        <translation>Choisir une image de fond</translation>
    </message>
    <message>
        <source>Custom colour</source>
        <extracomment>The button that picks a colour of the user&apos;s own as the backdrop.</extracomment>
        <translation>Couleur personnalisée</translation>
    </message>
    <message>
        <source>Padding</source>
        <extracomment>The slider of the space between the picture and the edge of the backdrop.</extracomment>
        <translation>Marge</translation>
    </message>
    <message>
        <source>Corners</source>
        <extracomment>The slider of how round the picture&apos;s corners are.</extracomment>
        <translation>Coins</translation>
    </message>
    <message>
        <source>Shadow</source>
        <extracomment>The slider of the shadow under the picture.</extracomment>
        <translation>Ombre</translation>
    </message>
    <message>
        <source>Ratio</source>
        <extracomment>The label before the backdrop&apos;s aspect ratios.</extracomment>
        <translation>Proportions</translation>
    </message>
    <message>
        <source>Images</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Images</translation>
    </message>
    <message>
        <source>At full size this is too large to save; it will be saved at %1 × %2 pixels, scaled down.</source>
        <extracomment>Add BG&apos;s note when the result at full size would be too large; %1 × %2 is the smaller size in pixels that Save writes instead.</extracomment>
        <translation>En taille réelle, le résultat est trop grand pour être enregistré&#x202f;; il sera enregistré réduit, en %1 × %2 pixels.</translation>
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
        <translation>Coucher de soleil</translation>
    </message>
    <message>
        <source>Daybreak</source>
        <translation>Aube</translation>
    </message>
    <message>
        <source>Sorbet</source>
        <translation>Sorbet</translation>
    </message>
    <message>
        <source>Cloud</source>
        <translation>Nuage</translation>
    </message>
    <message>
        <source>Lavender</source>
        <translation>Lavande</translation>
    </message>
    <message>
        <source>Garden</source>
        <translation>Jardin</translation>
    </message>
    <message>
        <source>Sky</source>
        <translation>Ciel</translation>
    </message>
    <message>
        <source>Lagoon</source>
        <translation>Lagon</translation>
    </message>
    <message>
        <source>Ice</source>
        <translation>Glace</translation>
    </message>
    <message>
        <source>Dusk</source>
        <translation>Crépuscule</translation>
    </message>
    <message>
        <source>Mint</source>
        <translation>Menthe</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Blanc</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Jaune</translation>
    </message>
    <message>
        <source>Lime</source>
        <translation>Citron vert</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Vert</translation>
    </message>
    <message>
        <source>Teal</source>
        <translation>Bleu canard</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Bleu</translation>
    </message>
    <message>
        <source>Charcoal</source>
        <translation>Anthracite</translation>
    </message>
    <message>
        <source>Purple</source>
        <translation>Violet</translation>
    </message>
    <message>
        <source>Pink</source>
        <translation>Rose</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rouge</translation>
    </message>
    <message>
        <source>Orange</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>Black</source>
        <translation>Noir</translation>
    </message>
</context>
<context>
    <name>Whirlpane::BatchConversion</name>
    <message>
        <source>The conversion stopped unexpectedly (%1).</source>
        <extracomment>A conversion&apos;s worker process ended by a signal; %1 names the signal (&quot;Killed&quot;).</extracomment>
        <translation>La conversion s’est arrêtée de manière inattendue (%1).</translation>
    </message>
    <message>
        <source>The conversion failed without saying why (status %1).</source>
        <extracomment>A conversion&apos;s worker process failed and gave no reason; %1 is its exit status.</extracomment>
        <translation>La conversion a échoué sans en donner la raison (état %1).</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CompressionController</name>
    <message>
        <source>Compress</source>
        <extracomment>The Compress editor&apos;s window title: the tool that makes a file smaller.</extracomment>
        <translation>Compresser</translation>
    </message>
    <message>
        <source>Compress &amp; Save</source>
        <extracomment>The Compress editor&apos;s Save button.</extracomment>
        <translation>Compresser et enregistrer</translation>
    </message>
    <message>
        <source>Quality</source>
        <extracomment>The slider of the JPEG or WebP quality the file is written at.</extracomment>
        <translation>Qualité</translation>
    </message>
    <message>
        <source>Lower quality makes a smaller file. A new copy is saved beside the original.</source>
        <translation>Une qualité plus faible donne un fichier plus petit. Une nouvelle copie est enregistrée à côté de l’original.</translation>
    </message>
    <message>
        <source>Original: %1</source>
        <extracomment>The size of the file as it is; %1 is a size such as &quot;2.4 MB&quot;.</extracomment>
        <translation>Original&#xa0;: %1</translation>
    </message>
    <message>
        <source>The copy carries no metadata: the date taken, the place and the camera are left out too.</source>
        <extracomment>Below the slider: what the compressed copy of a photo leaves out of the file.</extracomment>
        <translation>La copie ne contient aucune métadonnée : la date de prise de vue, le lieu et l’appareil sont aussi omis.</translation>
    </message>
    <message>
        <source>New copy: estimating…</source>
        <extracomment>Beside the original&apos;s size while the size of the compressed copy is worked out.</extracomment>
        <translation>Nouvelle copie : estimation…</translation>
    </message>
    <message>
        <source>New copy: about %1</source>
        <extracomment>The size the compressed copy will have; %1 is a size such as &quot;1.2 MB&quot;.</extracomment>
        <translation>Nouvelle copie : environ %1</translation>
    </message>
    <message>
        <source>New copy: no smaller</source>
        <extracomment>Beside the original&apos;s size: at this quality the copy would not be smaller.</extracomment>
        <translation>Nouvelle copie : pas plus petite</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropCanvas</name>
    <message>
        <source>Crop selection. Drag edges or corners to resize; drag inside to move.</source>
        <extracomment>The crop area&apos;s name for screen readers, with how to use it.</extracomment>
        <translation>Zone de recadrage. Faites glisser les bords ou les coins pour la redimensionner&#x202f;; faites glisser l’intérieur pour la déplacer.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::CropController</name>
    <message>
        <source>Crop Image</source>
        <extracomment>The Crop editor&apos;s window title.</extracomment>
        <translation>Recadrer l’image</translation>
    </message>
    <message>
        <source>Apply</source>
        <extracomment>The Crop editor&apos;s Save button: save the cut picture.</extracomment>
        <translation>Appliquer</translation>
    </message>
    <message>
        <source>Aspect ratio</source>
        <extracomment>The label before the choices of the cut&apos;s shape (free, square, 16:9 ...).</extracomment>
        <translation>Proportions</translation>
    </message>
    <message>
        <source>Free</source>
        <extracomment>The first choice of the aspect ratio: any shape.</extracomment>
        <translation>Libre</translation>
    </message>
    <message>
        <source>W</source>
        <extracomment>Short for width, before the width field (one or two letters).</extracomment>
        <translation>L</translation>
    </message>
    <message>
        <source>Width in pixels</source>
        <extracomment>The width field&apos;s name for screen readers.</extracomment>
        <translation>Largeur en pixels</translation>
    </message>
    <message>
        <source>H</source>
        <extracomment>Short for height, before the height field (one or two letters).</extracomment>
        <translation>H</translation>
    </message>
    <message>
        <source>Height in pixels</source>
        <extracomment>The height field&apos;s name for screen readers.</extracomment>
        <translation>Hauteur en pixels</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorCoordinator</name>
    <message>
        <source>The “%1” editor is not available.</source>
        <extracomment>%1 is the name of an editor asked for that does not exist.</extracomment>
        <translation>L’éditeur «&#x202f;%1&#x202f;» n’est pas disponible.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorFrame</name>
    <message>
        <source>The image could not be rendered.</source>
        <extracomment>An editor could not make the picture it was to save.</extracomment>
        <translation>L’image n’a pas pu être produite.</translation>
    </message>
    <message>
        <source>The file could not be saved.</source>
        <extracomment>An editor&apos;s save failed without a reason of its own.</extracomment>
        <translation>Le fichier n’a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>Close %1</source>
        <extracomment>The close button&apos;s name for screen readers; %1 is the editor&apos;s title.</extracomment>
        <translation>Fermer «&#x202f;%1&#x202f;»</translation>
    </message>
    <message>
        <source>Reset</source>
        <extracomment>The editor&apos;s button that undoes every change made in the window.</extracomment>
        <translation>Réinitialiser</translation>
    </message>
    <message>
        <source>Saving…</source>
        <extracomment>The action bar&apos;s status line while the new file is written.</extracomment>
        <translation>Enregistrement…</translation>
    </message>
    <message>
        <source>Loading…</source>
        <extracomment>The action bar&apos;s status line while an editor decodes the whole picture; the window shows a reduced copy meanwhile.</extracomment>
        <translation>Chargement…</translation>
    </message>
    <message>
        <source>Could not open</source>
        <extracomment>The action bar&apos;s status line when the whole picture could not be decoded; nothing can be saved.</extracomment>
        <translation>Ouverture impossible</translation>
    </message>
</context>
<context>
    <name>Whirlpane::EditorTable</name>
    <message>
        <source>COMPRESS</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that makes a file smaller.</extracomment>
        <translation>COMPRESSER</translation>
    </message>
    <message>
        <source>METADATA</source>
        <extracomment>A wedge of the tools wheel, in capitals: the editor that shows and removes a file&apos;s metadata.</extracomment>
        <translation>MÉTADONNÉES</translation>
    </message>
    <message>
        <source>EDIT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: adjust brightness, contrast and saturation, turn and mirror.</extracomment>
        <translation>MODIFIER</translation>
    </message>
    <message>
        <source>ANNOTATE</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: draw and write on the picture.</extracomment>
        <translation>ANNOTER</translation>
    </message>
    <message>
        <source>ADD BG</source>
        <extracomment>A wedge of the tools wheel, in capitals, short for &quot;add background&quot;: put the picture on a backdrop. Keep it as short; an abbreviation is fine.</extracomment>
        <translation>FOND</translation>
    </message>
    <message>
        <source>CROP</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: cut the picture to a rectangle.</extracomment>
        <translation>RECADRER</translation>
    </message>
    <message>
        <source>REDACT</source>
        <extracomment>A wedge of the tools wheel, in capitals, a verb: black out parts of the picture.</extracomment>
        <translation>CAVIARDER</translation>
    </message>
    <message>
        <source>The file changed while it was opened.</source>
        <extracomment>An editor&apos;s picture changed on disk while the editor was opening it.</extracomment>
        <translation>Le fichier a changé pendant son ouverture.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ErrorAlert</name>
    <message>
        <source>Couldn’t complete this file</source>
        <extracomment>The alert&apos;s heading; the reason follows below it.</extracomment>
        <translation>Impossible de traiter ce fichier</translation>
    </message>
    <message numerus="yes">
        <source>Couldn’t complete %n files</source>
        <extracomment>The alert&apos;s heading over the reasons of several files, %n of them (2 or more).</extracomment>
        <translation>
            <numerusform>Impossible de traiter %n fichier</numerusform>
            <numerusform>Impossible de traiter %n fichiers</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::IntroductionWindow</name>
    <message>
        <source>Drag an image or PDF in your file manager and hold still for a moment. A wheel appears around your pointer. Drop on a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where the wheel comes up during drags (X11).</extracomment>
        <translation>Faites glisser une image ou un PDF dans votre gestionnaire de fichiers et restez immobile un instant. Une roue apparaît autour du pointeur. Déposez sur un format pour convertir.</translation>
    </message>
    <message>
        <source>Press Alt while dragging to switch to Crop, Add BG, and the other tools. Press it again to switch back.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Appuyez sur Alt pendant le glissement pour passer à «&#x202f;Recadrer&#x202f;», «&#x202f;Fond&#x202f;» et aux autres outils. Appuyez de nouveau pour revenir.</translation>
    </message>
    <message>
        <source>Click the center to switch wheels; drag it to move. Escape dismisses. Ctrl+Alt+Space opens or hides the wheel.</source>
        <extracomment>The centre is the middle of the wheel; dragging it moves the wheel.</extracomment>
        <translation>Cliquez au centre pour changer de roue&#x202f;; faites-le glisser pour la déplacer. Échap la ferme. Ctrl+Alt+Espace ouvre ou masque la roue.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Whirlpane lives in the system tray, with no window of its own.</source>
        <translation>Les nouveaux fichiers sont enregistrés à côté de l’original. Whirlpane vit dans la zone de notification, sans fenêtre à lui.</translation>
    </message>
    <message>
        <source>Your files. One gesture.</source>
        <extracomment>The introduction&apos;s heading, a slogan: everything is done with one drag.</extracomment>
        <translation>Vos fichiers. Un seul geste.</translation>
    </message>
    <message>
        <source>Open a File…</source>
        <extracomment>The introduction&apos;s button: opens the file chooser.</extracomment>
        <translation>Ouvrir un fichier…</translation>
    </message>
    <message>
        <source>To open the wheel with a key of your choice, add a custom shortcut that runs “whirlpane --show-wheel”: in GNOME under Settings › Keyboard › View and Customize Shortcuts › Custom Shortcuts; in KDE Plasma under System Settings › Keyboard › Shortcuts › Add New › Command or Script.</source>
        <extracomment>How to bind &quot;whirlpane --show-wheel&quot; to a key on desktops that take no key grabs; the menu paths are those of GNOME Settings and KDE Plasma&apos;s System Settings.</extracomment>
        <translation>Pour ouvrir la roue avec la touche de votre choix, ajoutez un raccourci personnalisé qui lance « whirlpane --show-wheel » : dans GNOME sous Paramètres › Clavier › Afficher et personnaliser les raccourcis › Raccourcis personnalisés ; dans KDE Plasma sous Configuration du système › Clavier › Raccourcis › Ajouter un nouveau › Commande ou script.</translation>
    </message>
    <message>
        <source>Drag an image or PDF from your file manager onto Whirlpane’s window and drop it on a format to convert, or on the center to open the wheel for it.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched and no tray shows Whirlpane (GNOME): its own window takes the files.</extracomment>
        <translation>Faites glisser une image ou un PDF de votre gestionnaire de fichiers sur la fenêtre de Whirlpane et déposez-le sur un format pour le convertir, ou au centre pour ouvrir la roue.</translation>
    </message>
    <message>
        <source>Press Ctrl+Alt+Space or choose Show Wheel in the tray menu, and a wheel appears. Drag an image or PDF from your file manager onto a format to convert.</source>
        <extracomment>The introduction&apos;s first paragraph where no drag can be watched but a tray exists (Wayland, KDE Plasma); &quot;Show Wheel&quot; is the tray menu&apos;s item of that name.</extracomment>
        <translation>Appuyez sur Ctrl+Alt+Espace ou choisissez « Afficher la roue » dans le menu de la zone de notification : une roue apparaît. Faites glisser une image ou un PDF de votre gestionnaire de fichiers sur un format pour le convertir.</translation>
    </message>
    <message>
        <source>Hold Alt as you drag over the window for Crop, Add BG, and the other tools.</source>
        <extracomment>Crop and Add BG are the tools wheel&apos;s wedges of those names.</extracomment>
        <translation>Maintenez Alt en glissant sur la fenêtre pour obtenir « Recadrer », « Fond » et les autres outils.</translation>
    </message>
    <message>
        <source>Click the center of the wheel or press Tab to switch to Crop, Add BG, and the other tools.</source>
        <translation>Cliquez au centre de la roue ou appuyez sur Tab pour passer à « Recadrer », « Fond » et aux autres outils.</translation>
    </message>
    <message>
        <source>New files are saved beside the original. Closing Whirlpane’s window ends the program.</source>
        <translation>Les nouveaux fichiers sont enregistrés à côté de l’original. Fermer la fenêtre de Whirlpane quitte le programme.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::LaunchOptions</name>
    <message>
        <source>%1 needs a value: see whirlpane --help.</source>
        <translation>%1 attend une valeur&#x202f;: voir whirlpane --help.</translation>
    </message>
    <message>
        <source>%1 is not an option of Whirlpane: see whirlpane --help.</source>
        <translation>%1 n’est pas une option de Whirlpane&#x202f;: voir whirlpane --help.</translation>
    </message>
    <message>
        <source>“%1” does not exist.</source>
        <translation>«&#x202f;%1&#x202f;» n’existe pas.</translation>
    </message>
    <message>
        <source>“%1” is a folder; choose the files in it.</source>
        <translation>«&#x202f;%1&#x202f;» est un dossier&#x202f;; choisissez les fichiers qu’il contient.</translation>
    </message>
    <message>
        <source>Whirlpane does not open “%1”: images and PDFs only.</source>
        <translation>Whirlpane n’ouvre pas «&#x202f;%1&#x202f;»&#x202f;: images et PDF uniquement.</translation>
    </message>
    <message>
        <source>--to and --editor cannot be used together.</source>
        <translation>--to et --editor ne peuvent pas être utilisés ensemble.</translation>
    </message>
    <message>
        <source>Name the files to convert: whirlpane --to FORMAT FILE...</source>
        <translation>Indiquez les fichiers à convertir&#x202f;: whirlpane --to FORMAT FILE...</translation>
    </message>
    <message>
        <source>Name the file to edit: whirlpane --editor EDITOR FILE</source>
        <translation>Indiquez le fichier à modifier&#x202f;: whirlpane --editor EDITOR FILE</translation>
    </message>
    <message>
        <source>“%1” is not an editor of Whirlpane: %2.</source>
        <translation>«&#x202f;%1&#x202f;» n’est pas un éditeur de Whirlpane&#x202f;: %2.</translation>
    </message>
    <message>
        <source>“%1” is not a format Whirlpane converts to.</source>
        <translation>«&#x202f;%1&#x202f;» n’est pas un format vers lequel Whirlpane convertit.</translation>
    </message>
    <message>
        <source>“%1” cannot be converted to %2.</source>
        <translation>«&#x202f;%1&#x202f;» ne peut pas être converti en %2.</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MarkupController</name>
    <message>
        <source>Redact Image</source>
        <extracomment>The Redact editor&apos;s window title: black out parts of the picture.</extracomment>
        <translation>Caviarder l’image</translation>
    </message>
    <message>
        <source>Annotate Image</source>
        <extracomment>The Annotate editor&apos;s window title: draw and write on the picture.</extracomment>
        <translation>Annoter l’image</translation>
    </message>
    <message>
        <source>Save Redacted</source>
        <extracomment>The Redact editor&apos;s Save button.</extracomment>
        <translation>Caviarder et enregistrer</translation>
    </message>
    <message>
        <source>Save</source>
        <extracomment>The Annotate editor&apos;s Save button.</extracomment>
        <translation>Enregistrer</translation>
    </message>
    <message>
        <source>Drag over sensitive areas to cover them with solid pixels.</source>
        <translation>Faites glisser sur les zones sensibles pour les couvrir de pixels opaques.</translation>
    </message>
    <message>
        <source>Exported redactions cannot be removed.</source>
        <translation>Un caviardage exporté ne peut plus être retiré.</translation>
    </message>
    <message>
        <source>Text</source>
        <extracomment>The text a new label on the picture shows until the user types another.</extracomment>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Pen</source>
        <extracomment>Annotate&apos;s tool that draws freehand lines.</extracomment>
        <translation>Stylo</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <extracomment>Annotate&apos;s tool that draws rectangles.</extracomment>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Arrow</source>
        <extracomment>Annotate&apos;s tool that draws arrows.</extracomment>
        <translation>Flèche</translation>
    </message>
    <message>
        <source>Text</source>
        <comment>tool</comment>
        <extracomment>Annotate&apos;s tool that places text; a noun.</extracomment>
        <translation>Texte</translation>
    </message>
    <message>
        <source>Stroke</source>
        <extracomment>The slider of the line width the pen, rectangles and arrows draw with.</extracomment>
        <translation>Épaisseur</translation>
    </message>
    <message>
        <source>Ink colour</source>
        <extracomment>The colour button&apos;s name for screen readers.</extracomment>
        <translation>Couleur de l’encre</translation>
    </message>
    <message>
        <source>Text to place on the image</source>
        <translation>Texte à placer sur l’image</translation>
    </message>
    <message>
        <source>Label text</source>
        <extracomment>The text field&apos;s name for screen readers.</extracomment>
        <translation>Texte de l’étiquette</translation>
    </message>
    <message>
        <source>Undo</source>
        <extracomment>Takes back the last mark.</extracomment>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>Picture to redact</source>
        <extracomment>The picture&apos;s name for screen readers in Redact.</extracomment>
        <translation>Image à caviarder</translation>
    </message>
    <message>
        <source>Picture to annotate</source>
        <extracomment>The picture&apos;s name for screen readers in Annotate.</extracomment>
        <translation>Image à annoter</translation>
    </message>
    <message>
        <source>Drag to draw. Select Text and click to insert text.</source>
        <extracomment>How to use the drawing area; &quot;Text&quot; is Annotate&apos;s tool of that name.</extracomment>
        <translation>Faites glisser pour dessiner. Choisissez «&#x202f;Texte&#x202f;» et cliquez pour insérer du texte.</translation>
    </message>
    <message>
        <source>Tool</source>
        <extracomment>The name of the row of tools (pen, rectangle, arrow, text) for screen readers.</extracomment>
        <translation>Outil</translation>
    </message>
</context>
<context>
    <name>Whirlpane::MetadataController</name>
    <message>
        <source>Metadata</source>
        <extracomment>The Metadata editor&apos;s window title: the file&apos;s facts (camera, dates, place).</extracomment>
        <translation>Métadonnées</translation>
    </message>
    <message>
        <source>Strip Metadata</source>
        <extracomment>The Metadata editor&apos;s Save button: save a copy without the metadata.</extracomment>
        <translation>Supprimer les métadonnées</translation>
    </message>
    <message>
        <source>Save a new copy with metadata removed.</source>
        <translation>Enregistrer une nouvelle copie sans ses métadonnées.</translation>
    </message>
    <message>
        <source>No metadata found.</source>
        <translation>Aucune métadonnée trouvée.</translation>
    </message>
    <message>
        <source>Metadata entries</source>
        <extracomment>The list of the file&apos;s metadata, named for screen readers.</extracomment>
        <translation>Entrées de métadonnées</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PasswordAlert</name>
    <message>
        <source>“%1” is locked with a password</source>
        <extracomment>The heading of the alert that asks for a locked PDF&apos;s password; %1 is the file&apos;s name.</extracomment>
        <translation>« %1 » est verrouillé par un mot de passe</translation>
    </message>
    <message>
        <source>That password does not open it. Type the password again to convert it.</source>
        <extracomment>Below the heading, after a password that did not open the PDF.</extracomment>
        <translation>Ce mot de passe ne l’ouvre pas. Saisissez à nouveau le mot de passe pour le convertir.</translation>
    </message>
    <message>
        <source>Type its password to convert it. The password is used for this conversion only and is not saved.</source>
        <extracomment>Below the heading. The password is used once and not saved anywhere.</extracomment>
        <translation>Saisissez son mot de passe pour le convertir. Le mot de passe ne sert qu’à cette conversion et n’est pas enregistré.</translation>
    </message>
    <message>
        <source>Convert</source>
        <extracomment>The button that converts the locked PDF with the password typed.</extracomment>
        <translation>Convertir</translation>
    </message>
    <message>
        <source>Password</source>
        <extracomment>The password field&apos;s name for screen readers, and its greyed text while empty.</extracomment>
        <translation>Mot de passe</translation>
    </message>
</context>
<context>
    <name>Whirlpane::PortalShortcut</name>
    <message>
        <source>Open or hide the Whirlpane wheel</source>
        <extracomment>How the desktop&apos;s keyboard settings list Whirlpane&apos;s shortcut.</extracomment>
        <translation>Ouvrir ou masquer la roue de Whirlpane</translation>
    </message>
</context>
<context>
    <name>Whirlpane::ProgressToast</name>
    <message>
        <source>Cancel</source>
        <extracomment>The toast&apos;s close button, for screen readers: it stops the conversion.</extracomment>
        <translation>Annuler</translation>
    </message>
    <message numerus="yes">
        <source>%1 of %n saved</source>
        <extracomment>%1 files of %n are saved so far.</extracomment>
        <translation>
            <numerusform>%1 sur %n enregistré</numerusform>
            <numerusform>%1 sur %n enregistrés</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Cancelled — %1 of %n saved</source>
        <extracomment>After the user cancelled a conversion: %1 files of %n were saved.</extracomment>
        <translation>
            <numerusform>Annulé — %1 sur %n enregistré</numerusform>
            <numerusform>Annulé — %1 sur %n enregistrés</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Whirlpane::RadialMenu</name>
    <message>
        <source>Whirlpane radial menu</source>
        <extracomment>The wheel&apos;s name for screen readers: a round menu whose wedges are buttons.</extracomment>
        <translation>Menu circulaire de Whirlpane</translation>
    </message>
</context>
<context>
    <name>Whirlpane::TrayApplication</name>
    <message>
        <source>Whirlpane — drag a file to convert or edit</source>
        <extracomment>The tray icon&apos;s tool tip.</extracomment>
        <translation>Whirlpane – faites glisser un fichier pour le convertir ou le modifier</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Use the tray menu or Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Un autre programme utilise Ctrl+Alt+Espace&#x202f;; ce raccourci ne peut donc pas ouvrir la roue. Utilisez plutôt le menu de la zone de notification ou «&#x202f;Ouvrir avec&#x202f;».</translation>
    </message>
    <message>
        <source>Choose a file to convert or edit.</source>
        <extracomment>The file chooser&apos;s title.</extracomment>
        <translation>Choisissez un fichier à convertir ou à modifier.</translation>
    </message>
    <message>
        <source>Images and PDFs</source>
        <extracomment>The file chooser&apos;s filter: the extensions follow in brackets.</extracomment>
        <translation>Images et PDF</translation>
    </message>
    <message>
        <source>Open File…</source>
        <extracomment>The tray menu&apos;s item that opens the file chooser.</extracomment>
        <translation>Ouvrir un fichier…</translation>
    </message>
    <message>
        <source>Show Wheel</source>
        <extracomment>The wheel is Whirlpane&apos;s round menu of formats and tools.</extracomment>
        <translation>Afficher la roue</translation>
    </message>
    <message>
        <source>Show When Dragging Files</source>
        <extracomment>A check item: the wheel comes up by itself while files are dragged.</extracomment>
        <translation>Afficher pendant le glissement de fichiers</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Choose Show Wheel and drop the files on it instead.</source>
        <translation>Sans effet sur ce bureau&#xa0;: les fichiers glissés ici n’ouvrent pas la roue d’eux-mêmes, car Wayland ne permet à aucun programme d’observer les glissements des autres programmes. Choisissez plutôt «&#x202f;Afficher la roue&#x202f;» et déposez-y les fichiers.</translation>
    </message>
    <message>
        <source>How to Use…</source>
        <extracomment>The tray menu&apos;s item that shows the introduction again.</extracomment>
        <translation>Mode d’emploi…</translation>
    </message>
    <message>
        <source>Open at Login</source>
        <extracomment>A check item: Whirlpane starts when the user logs in.</extracomment>
        <translation>Ouvrir à la connexion</translation>
    </message>
    <message>
        <source>Quit Whirlpane</source>
        <extracomment>The tray menu&apos;s last item: ends the program.</extracomment>
        <translation>Quitter Whirlpane</translation>
    </message>
    <message>
        <source>Converting to %1</source>
        <extracomment>The progress toast&apos;s title; %1 is a format name such as PNG.</extracomment>
        <translation>Conversion en %1</translation>
    </message>
    <message>
        <source>%1: left out, because it has no extension that tells its format.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1&#xa0;: laissé de côté, car aucune extension n’indique son format.</translation>
    </message>
    <message>
        <source>%1: left out, because Whirlpane takes only images and PDFs.</source>
        <extracomment>A file the wheel was opened with but cannot take; %1 is its name.</extracomment>
        <translation>%1&#xa0;: laissé de côté, car Whirlpane ne prend que des images et des PDF.</translation>
    </message>
    <message>
        <source>Another program uses Ctrl+Alt+Space, so it cannot open the wheel. Drop files on Whirlpane&apos;s window or use Open With instead.</source>
        <extracomment>&quot;Open With&quot; is the file manager&apos;s menu of programs for a file.</extracomment>
        <translation>Un autre programme utilise Ctrl+Alt+Espace ; ce raccourci ne peut donc pas ouvrir la roue. Déposez plutôt les fichiers sur la fenêtre de Whirlpane ou utilisez « Ouvrir avec ».</translation>
    </message>
    <message>
        <source>No effect on this desktop: files dragged here do not open the wheel by themselves, because Wayland lets no program watch other programs&apos; drags. Drop the files on Whirlpane&apos;s window instead.</source>
        <extracomment>Where the program has its own window (no tray).</extracomment>
        <translation>Sans effet sur ce bureau : les fichiers glissés ici n’ouvrent pas la roue d’eux-mêmes, car Wayland ne permet à aucun programme d’observer les glissements des autres programmes. Déposez plutôt les fichiers sur la fenêtre de Whirlpane.</translation>
    </message>
    <message>
        <source>Choose a folder for the converted files</source>
        <extracomment>The folder chooser&apos;s title, for converted files their own folder cannot take.</extracomment>
        <translation>Choisissez un dossier pour les fichiers convertis</translation>
    </message>
    <message>
        <source>Choose Another Folder…</source>
        <extracomment>The failure alert&apos;s button for files whose folder cannot take the converted files.</extracomment>
        <translation>Choisir un autre dossier…</translation>
    </message>
</context>
<context>
    <name>Whirlpane::WheelPainter</name>
    <message numerus="yes">
        <source>%n files</source>
        <extracomment>The centre of the wheel: how many files the wheel acts on (two or more).</extracomment>
        <translation>
            <numerusform>%n fichier</numerusform>
            <numerusform>%n fichiers</numerusform>
        </translation>
    </message>
    <message>
        <source>TOOLS</source>
        <extracomment>The centre of the tools wheel, in capitals: the wheel offers the editors.</extracomment>
        <translation>OUTILS</translation>
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
        <translation>Déposez
des fichiers</translation>
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
