<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ClipboardWatch</name>
    <message>
        <source>Error occured while processing clipboard for RapidShare links</source>
        <translation>Beim Durchsuchen der Zwischenablage nach RapidShare-Links ist ein Fehler aufgetreten</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Displays this help.</source>
        <translation>Zeigt diese Hilfe an.</translation>
    </message>
    <message>
        <source>Displays the version.</source>
        <translation>Zeigt die Version an.</translation>
    </message>
    <message>
        <source>Finds and downloads files kept on the RapidShare file-hosting service.
Links given here are checked as if pasted into &quot;Add New Download&quot;; when Tidefetch
is already running, they are handed to it.</source>
        <translation>Findet Dateien beim Filehoster RapidShare und lädt sie herunter.
Hier angegebene Links werden geprüft, als wären sie unter „Neuer Download“ eingefügt;
läuft Tidefetch bereits, werden sie ihm übergeben.</translation>
    </message>
    <message>
        <source>A link to check.</source>
        <translation>Ein zu prüfender Link.</translation>
    </message>
</context>
<context>
    <name>GridLayouts</name>
    <message>
        <source>File Name</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Time Left</source>
        <translation>Restzeit</translation>
    </message>
    <message>
        <source>URL</source>
        <translation>URL</translation>
    </message>
    <message>
        <source>File Size</source>
        <translation>Dateigröße</translation>
    </message>
    <message>
        <source>File Type</source>
        <translation>Dateityp</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Date Added</source>
        <translation>Hinzugefügt am</translation>
    </message>
</context>
<context>
    <name>LinkReader</name>
    <message>
        <source>No Supported links Found.</source>
        <translation>Keine unterstützten Links gefunden.</translation>
    </message>
    <message>
        <source>1 Link Added</source>
        <translation>1 Link hinzugefügt</translation>
    </message>
    <message>
        <source>%1 Links Added</source>
        <translation>%1 Links hinzugefügt</translation>
    </message>
</context>
<context>
    <name>LinkStore</name>
    <message>
        <source>Error occured while loading table<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
 Record Source:%3</source>
        <translation>Fehler beim Laden der Tabelle<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
 Datenquelle:%3</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Link is already exist</source>
        <translation>Der Link ist bereits vorhanden</translation>
    </message>
</context>
<context>
    <name>ListLocation</name>
    <message>
        <source>%1 (not writable)</source>
        <translation>%1 (nicht beschreibbar)</translation>
    </message>
    <message>
        <source>Looked for:</source>
        <translation>Gesucht wurde nach:</translation>
    </message>
    <message>
        <source>Cannot create the folder %1</source>
        <translation>Der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Cannot copy %1 to %2: %3</source>
        <translation>%1 kann nicht nach %2 kopiert werden: %3</translation>
    </message>
    <message>
        <source>Cannot make %1 writable</source>
        <translation>%1 kann nicht beschreibbar gemacht werden</translation>
    </message>
</context>
<context>
    <name>ListSchema</name>
    <message>
        <source>The list file has no schema version</source>
        <translation>Die Listendatei hat keine Schemaversion</translation>
    </message>
    <message>
        <source>The list file has schema version %1, but this Tidefetch knows versions up to %2. Please use a newer Tidefetch.</source>
        <translation>Die Listendatei hat die Schemaversion %1, dieses Tidefetch kennt aber nur Versionen bis %2. Bitte verwenden Sie ein neueres Tidefetch.</translation>
    </message>
    <message>
        <source>The list file could not be upgraded from schema version %1 to %2: %3</source>
        <translation>Die Listendatei konnte nicht von Schemaversion %1 auf %2 aktualisiert werden: %3</translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Download List file is not exist, Please re-install the application</source>
        <translation>Die Datei der Downloadliste fehlt. Bitte installieren Sie das Programm neu.</translation>
    </message>
    <message>
        <source>Critical Error while loading download list. re-installing application may solve this problem</source>
        <translation>Schwerer Fehler beim Laden der Downloadliste. Eine Neuinstallation des Programms kann das Problem beheben.</translation>
    </message>
    <message>
        <source>Critical Error</source>
        <translation>Schwerer Fehler</translation>
    </message>
    <message>
        <source>Critical Error while loading check list. re-installing application may solve this problem</source>
        <translation>Schwerer Fehler beim Laden der Prüfliste. Eine Neuinstallation des Programms kann das Problem beheben.</translation>
    </message>
    <message>
        <source>Please, Select the download folder.</source>
        <translation>Bitte wählen Sie den Download-Ordner.</translation>
    </message>
    <message>
        <source>Selected drive is CD ROM, Please select another folder</source>
        <translation>Das gewählte Laufwerk ist eine CD-ROM. Bitte wählen Sie einen anderen Ordner.</translation>
    </message>
    <message>
        <source>Queue finished: %1 complete, %2 failed</source>
        <translation>Warteschlange abgearbeitet: %1 fertig, %2 fehlgeschlagen</translation>
    </message>
</context>
<context>
    <name>QueueCommands</name>
    <message>
        <source>Can not remove item. Download In Progress, Please Stop first.</source>
        <translation>Der Eintrag kann nicht entfernt werden. Ein Download läuft, bitte halten Sie ihn zuerst an.</translation>
    </message>
    <message>
        <source>Download In Progress, Please Stop first.</source>
        <translation>Ein Download läuft, bitte halten Sie ihn zuerst an.</translation>
    </message>
</context>
<context>
    <name>SearchCommands</name>
    <message>
        <source>Search text can not be empty!</source>
        <translation>Der Suchtext darf nicht leer sein!</translation>
    </message>
    <message>
        <source>List is empty, Please search for something first</source>
        <translation>Die Liste ist leer. Bitte suchen Sie zuerst etwas.</translation>
    </message>
    <message>
        <source>Getting Direct Links...</source>
        <translation>Direkte Links werden abgerufen...</translation>
    </message>
    <message>
        <source>Checking/Adding Links to check list...</source>
        <translation>Links werden geprüft und zur Prüfliste hinzugefügt...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Fertig</translation>
    </message>
</context>
<context>
    <name>SearchPageRules</name>
    <message>
        <source>Type the search text</source>
        <translation>Suchtext eingeben</translation>
    </message>
    <message>
        <source>Search for &quot;%1&quot; [%2 Files Found]</source>
        <translation>Suche nach „%1“ [%2 Dateien gefunden]</translation>
    </message>
    <message>
        <source>Search for &quot;%1&quot; failed: %2</source>
        <translation>Suche nach „%1“ fehlgeschlagen: %2</translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Queued</source>
        <translation>In Warteschlange</translation>
    </message>
    <message>
        <source>Requesting File</source>
        <translation>Datei wird angefordert</translation>
    </message>
    <message>
        <source>Complete</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Checking</source>
        <translation>Wird geprüft</translation>
    </message>
    <message>
        <source>Available</source>
        <translation>Verfügbar</translation>
    </message>
    <message>
        <source>UnAvailable</source>
        <translation>Nicht verfügbar</translation>
    </message>
    <message>
        <source>Wait %1 Seconds</source>
        <translation>Warte %1 Sekunden</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Add New Download</source>
        <translation>Neuer Download</translation>
    </message>
    <message>
        <source>Download List</source>
        <translation>Downloadliste</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suche</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Download Folder:</source>
        <translation>Download-Ordner:</translation>
    </message>
    <message>
        <source>Download Folder</source>
        <translation>Download-Ordner</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Wählen...</translation>
    </message>
    <message>
        <source>Choose the download folder</source>
        <translation>Den Download-Ordner wählen</translation>
    </message>
    <message>
        <source>Catch RapidShare Links in the clipboard</source>
        <translation>Zwischenablage auf RapidShare-Links prüfen</translation>
    </message>
    <message>
        <source>Links</source>
        <translation>Links</translation>
    </message>
    <message>
        <source>&amp;Check Links</source>
        <translation>Links &amp;prüfen</translation>
    </message>
    <message>
        <source>Check List</source>
        <translation>Prüfliste</translation>
    </message>
    <message>
        <source>Clear &amp;List</source>
        <translation>&amp;Liste leeren</translation>
    </message>
    <message>
        <source>&amp;Download Available Links</source>
        <translation>&amp;Verfügbare herunterladen</translation>
    </message>
    <message>
        <source>Include/Exclude Complete,Waiting or Runing items</source>
        <translation>Fertige, wartende oder laufende Einträge ein- oder ausblenden</translation>
    </message>
    <message>
        <source>&amp;Start Download</source>
        <translation>&amp;Starten</translation>
    </message>
    <message>
        <source>Start download All/Selected items</source>
        <translation>Alle oder die ausgewählten Einträge herunterladen</translation>
    </message>
    <message>
        <source>S&amp;top Download</source>
        <translation>&amp;Anhalten</translation>
    </message>
    <message>
        <source>Stop download All/Selected items</source>
        <translation>Den Download aller oder der ausgewählten Einträge anhalten</translation>
    </message>
    <message>
        <source>&amp;Filter Listed Items</source>
        <translation>Einträge &amp;filtern</translation>
    </message>
    <message>
        <source>&amp;Clear Items</source>
        <translation>&amp;Bereinigen</translation>
    </message>
    <message>
        <source>Search Text</source>
        <translation>Suchtext</translation>
    </message>
    <message>
        <source>&amp;Search RapidShare</source>
        <translation>RapidShare &amp;durchsuchen</translation>
    </message>
    <message>
        <source>File Extension</source>
        <translation>Dateiendung</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Date Filter</source>
        <translation>Zeitraum</translation>
    </message>
    <message>
        <source>Whenever</source>
        <translation>Beliebig</translation>
    </message>
    <message>
        <source>Last 24 Hours</source>
        <translation>Letzte 24 Stunden</translation>
    </message>
    <message>
        <source>Last Week</source>
        <translation>Letzte Woche</translation>
    </message>
    <message>
        <source>Last Month</source>
        <translation>Letzter Monat</translation>
    </message>
    <message>
        <source>Last 2 Months</source>
        <translation>Letzte 2 Monate</translation>
    </message>
    <message>
        <source>Last 4 Months</source>
        <translation>Letzte 4 Monate</translation>
    </message>
    <message>
        <source>Last 6 Months </source>
        <translation>Letzte 6 Monate</translation>
    </message>
    <message>
        <source>Last Year</source>
        <translation>Letztes Jahr</translation>
    </message>
    <message>
        <source>Sort By</source>
        <translation>Ordnen</translation>
    </message>
    <message>
        <source>No Sort</source>
        <translation>Unsortiert</translation>
    </message>
    <message>
        <source>Size Ascending</source>
        <translation>Größe aufsteigend</translation>
    </message>
    <message>
        <source>Size Descending</source>
        <translation>Größe absteigend</translation>
    </message>
    <message>
        <source>Date Ascending</source>
        <translation>Datum aufsteigend</translation>
    </message>
    <message>
        <source>Date Descending</source>
        <translation>Datum absteigend</translation>
    </message>
    <message>
        <source>Popularity Ascending</source>
        <translation>Beliebtheit aufsteigend</translation>
    </message>
    <message>
        <source>Popularity Descending</source>
        <translation>Beliebtheit absteigend</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>(optional)</source>
        <translation>(optional)</translation>
    </message>
    <message>
        <source>Size From</source>
        <translation>Größe ab</translation>
    </message>
    <message>
        <source>* leave empty to not identify the minimum size</source>
        <translation>* leer lassen für keine Mindestgröße</translation>
    </message>
    <message>
        <source>Size To</source>
        <translation>Größe bis</translation>
    </message>
    <message>
        <source>* leave empty to not identify the maximum size</source>
        <translation>* leer lassen für keine Höchstgröße</translation>
    </message>
    <message>
        <source>Search Results</source>
        <translation>Suchergebnisse</translation>
    </message>
    <message>
        <source>Show results page:</source>
        <translation>Ergebnisseite zeigen:</translation>
    </message>
    <message>
        <source>Show results page</source>
        <translation>Ergebnisseite zeigen</translation>
    </message>
    <message>
        <source>Previous results page</source>
        <translation>Vorige Ergebnisseite</translation>
    </message>
    <message>
        <source>Next Results Page</source>
        <translation>Nächste Ergebnisseite</translation>
    </message>
    <message>
        <source>&amp;Add selected items as new downloads</source>
        <translation>Auswahl als neue Downloads &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Add selected items And Start &amp;Download</source>
        <translation>Auswahl hinzufügen und &amp;starten</translation>
    </message>
    <message>
        <source>About Tidefetch</source>
        <translation>Über Tidefetch</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Tidefetch finds files kept on the RapidShare file-hosting service and downloads them in batches.

Search for files and tick the hits you want, paste links into the &quot;Add New Download&quot; page, or simply copy them: every link is first checked with the service, and the available ones join the download list. The list is worked off one file at a time, a running download shows its progress as a bar, and both lists are kept between runs.</source>
        <translation>Tidefetch findet Dateien beim Filehoster RapidShare und lädt sie stapelweise herunter.

Suchen Sie nach Dateien und haken Sie die gewünschten Treffer an, fügen Sie Links auf der Seite „Neuer Download“ ein oder kopieren Sie sie einfach: Jeder Link wird zuerst beim Dienst geprüft, und die verfügbaren kommen in die Downloadliste. Die Liste wird Datei für Datei abgearbeitet, ein laufender Download zeigt seinen Fortschritt als Balken, und beide Listen bleiben zwischen den Programmstarts erhalten.</translation>
    </message>
</context>
<context>
    <name>frmMenu</name>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Only Selected</source>
        <translation>Nur ausgewählte</translation>
    </message>
    <message>
        <source>START</source>
        <translation>START</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Filter</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>Include Complete Items</source>
        <translation>Fertige Einträge zeigen</translation>
    </message>
    <message>
        <source>Include Waiting Items</source>
        <translation>Wartende Einträge zeigen</translation>
    </message>
    <message>
        <source>Include Downloading Items</source>
        <translation>Laufende Einträge zeigen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Bereinigen</translation>
    </message>
    <message>
        <source>Clear Complete Items</source>
        <translation>Fertige Einträge entfernen</translation>
    </message>
    <message>
        <source>Clear Error Items</source>
        <translation>Fehlerhafte Einträge entfernen</translation>
    </message>
    <message>
        <source>Clear Stopped Items</source>
        <translation>Angehaltene Einträge entfernen</translation>
    </message>
    <message>
        <source>Clear Selected Items</source>
        <translation>Ausgewählte Einträge entfernen</translation>
    </message>
    <message>
        <source>Clear All Items</source>
        <translation>Alle Einträge entfernen</translation>
    </message>
</context>
</TS>
