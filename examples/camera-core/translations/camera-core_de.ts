<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>CameraChannel</name>
    <message>
        <source>Looking for cameras...</source>
        <translation>Suche nach Kameras …</translation>
    </message>
    <message>
        <source>Connecting...</source>
        <translation>Verbindung wird hergestellt …</translation>
    </message>
    <message>
        <source>Streaming</source>
        <translation>Erfassung läuft</translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation>Angehalten</translation>
    </message>
    <message>
        <source>%1 Retrying every %2 s.</source>
        <translation>%1 Neuer Versuch alle %2 s.</translation>
    </message>
    <message>
        <source>%1 Use File &gt; Reconnect to try again.</source>
        <translation>%1 Mit Datei &gt; Neu verbinden erneut versuchen.</translation>
    </message>
</context>
<context>
    <name>CameraCore</name>
    <message>
        <source>%1 × %2 pixels, %3 per frame</source>
        <translation>%1 × %2 Pixel, %3 pro Bild</translation>
    </message>
    <message>
        <source>Frame rate: %1; data rate: %2; %3</source>
        <translation>Bildrate: %1; Datenrate: %2; %3</translation>
    </message>
    <message>
        <source>last %1 s</source>
        <translation>letzte %1 s</translation>
    </message>
</context>
<context>
    <name>CameraListModel</name>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <source>Data rate</source>
        <translation>Datenrate</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>MAC address</source>
        <translation>MAC-Adresse</translation>
    </message>
    <message>
        <source>IP address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>IP configuration</source>
        <translation>IP-Konfiguration</translation>
    </message>
</context>
<context>
    <name>CameraStreamer</name>
    <message>
        <source>timed out before all packets arrived</source>
        <translation>Zeitüberschreitung, bevor alle Pakete ankamen</translation>
    </message>
    <message>
        <source>packets are missing</source>
        <translation>Pakete fehlen</translation>
    </message>
    <message>
        <source>a packet had a wrong id</source>
        <translation>ein Paket hatte eine falsche ID</translation>
    </message>
    <message>
        <source>the image does not fit the buffer</source>
        <translation>das Bild passt nicht in den Puffer</translation>
    </message>
    <message>
        <source>the transfer was aborted</source>
        <translation>die Übertragung wurde abgebrochen</translation>
    </message>
    <message>
        <source>status %1</source>
        <translation>Status %1</translation>
    </message>
    <message>
        <source>%1 in the last %2 s, the latest: %3</source>
        <translation>%1 in den letzten %2 s, zuletzt: %3</translation>
    </message>
    <message>
        <source>Incomplete frames</source>
        <translation>Unvollständige Bilder</translation>
    </message>
    <message>
        <source>Lost frames</source>
        <translation>Verlorene Bilder</translation>
    </message>
    <message>
        <source>Stream data</source>
        <translation>Datenstrom</translation>
    </message>
    <message>
        <source>Ignored a stream packet that starts no frame the monitor can receive.</source>
        <translation>Ein Paket des Datenstroms, das kein Bild beginnt, das der Monitor empfangen kann, wurde übergangen.</translation>
    </message>
    <message>
        <source>Frame %1: %2</source>
        <translation>Bild %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n frame(s) lost</source>
        <translation>
            <numerusform>%n Bild verloren</numerusform>
            <numerusform>%n Bilder verloren</numerusform>
        </translation>
    </message>
    <message>
        <source>No camera found. Is the camera switched on and connected?</source>
        <translation>Keine Kamera gefunden. Ist die Kamera eingeschaltet und angeschlossen?</translation>
    </message>
    <message>
        <source>No camera &quot;%1&quot; found among %2 cameras.</source>
        <translation>Kamera „%1“ nicht gefunden (gefundene Kameras: %2).</translation>
    </message>
    <message>
        <source>Camera settings</source>
        <translation>Kameraeinstellungen</translation>
    </message>
    <message>
        <source>The camera %1 did not take the settings: %2</source>
        <translation>Die Kamera %1 hat die Einstellungen nicht übernommen: %2</translation>
    </message>
    <message>
        <source>The camera %1 stopped streaming after a change of its settings.</source>
        <translation>Die Kamera %1 hat die Erfassung nach einer Änderung ihrer Einstellungen beendet.</translation>
    </message>
    <message>
        <source>No frames</source>
        <translation>Keine Bilder</translation>
    </message>
    <message>
        <source>The camera %1 sent no frame for %2 s.</source>
        <translation>Die Kamera %1 hat seit %2 s kein Bild gesendet.</translation>
    </message>
    <message>
        <source>Lost the connection to the camera %1.</source>
        <translation>Verbindung zur Kamera %1 verloren.</translation>
    </message>
    <message>
        <source>Camera</source>
        <translation>Kamera</translation>
    </message>
</context>
<context>
    <name>MonitorModel</name>
    <message>
        <source>No image</source>
        <translation>Kein Bild</translation>
    </message>
    <message>
        <source>The pixel format 0x%1 cannot be shown.</source>
        <translation>Das Pixelformat 0x%1 kann nicht angezeigt werden.</translation>
    </message>
</context>
<context>
    <name>StreamSession</name>
    <message>
        <source>Cannot open the camera %1: %2</source>
        <translation>Die Kamera %1 lässt sich nicht öffnen: %2</translation>
    </message>
    <message>
        <source>Cannot set up streaming from the camera %1: %2</source>
        <translation>Die Bildübertragung der Kamera %1 lässt sich nicht einrichten: %2</translation>
    </message>
    <message>
        <source>Cannot start the camera %1: %2</source>
        <translation>Die Kamera %1 lässt sich nicht starten: %2</translation>
    </message>
    <message>
        <source>automatic exposure</source>
        <translation>automatische Belichtung</translation>
    </message>
    <message>
        <source>automatic gain</source>
        <translation>automatische Verstärkung</translation>
    </message>
    <message>
        <source>frame rate</source>
        <translation>Bildrate</translation>
    </message>
    <message>
        <source>exposure time</source>
        <translation>Belichtungszeit</translation>
    </message>
    <message>
        <source>gain</source>
        <translation>Verstärkung</translation>
    </message>
    <message>
        <source>The stream did not restart: %1</source>
        <translation>Die Erfassung ist nicht wieder angelaufen: %1</translation>
    </message>
    <message>
        <source>pixel format</source>
        <translation>Pixelformat</translation>
    </message>
    <message>
        <source>binning</source>
        <translation>Binning</translation>
    </message>
    <message>
        <source>region of interest</source>
        <translation>Bildausschnitt</translation>
    </message>
</context>
</TS>
