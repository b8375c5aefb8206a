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
    <name>CameraMonitor</name>
    <message>
        <source>%1 × %2 pixels, %3 per frame</source>
        <translation>%1 × %2 Pixel, %3 pro Bild</translation>
    </message>
    <message>
        <source>Frame rate: %1; data rate: %2; %3</source>
        <translation>Bildrate: %1; Datenrate: %2; %3</translation>
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
    <name>CameraTable</name>
    <message>
        <source>Double-click a camera to monitor it.</source>
        <translation>Doppelklicken Sie auf eine Kamera, um sie zu überwachen.</translation>
    </message>
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
    <message>
        <source>(read when connected)</source>
        <translation>(wird beim Verbinden gelesen)</translation>
    </message>
    <message>
        <source>not reported (bits 0x%1)</source>
        <translation>nicht gemeldet (Bits 0x%1)</translation>
    </message>
</context>
<context>
    <name>FiguresPane</name>
    <message>
        <source>Live figures</source>
        <translation>Aktuelle Werte</translation>
    </message>
    <message>
        <source>Camera:</source>
        <translation>Kamera:</translation>
    </message>
    <message>
        <source>State:</source>
        <translation>Status:</translation>
    </message>
    <message>
        <source>Frame rate:</source>
        <translation>Bildrate:</translation>
    </message>
    <message>
        <source>Data rate:</source>
        <translation>Datenrate:</translation>
    </message>
    <message>
        <source>Frame size:</source>
        <translation>Bildgröße:</translation>
    </message>
    <message>
        <source>%1 × %2 pixels, %3 per frame</source>
        <translation>%1 × %2 Pixel, %3 pro Bild</translation>
    </message>
    <message>
        <source>Counts:</source>
        <translation>Zähler:</translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contact support...</source>
        <translation>&amp;Support kontaktieren …</translation>
    </message>
    <message>
        <source>No mail program is set up; see Help &gt; System information for the text to send.</source>
        <translation>Kein E-Mail-Programm eingerichtet; den zu sendenden Text zeigt Hilfe &gt; Systeminformationen.</translation>
    </message>
    <message>
        <source>Send &amp;feedback...</source>
        <translation>&amp;Feedback senden …</translation>
    </message>
    <message>
        <source>No web browser is set up; the feedback page is %1</source>
        <translation>Kein Webbrowser eingerichtet; die Feedback-Seite ist %1</translation>
    </message>
    <message>
        <source>&amp;System information...</source>
        <translation>System&amp;informationen …</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>Camera Monitor</source>
        <translation>Kameramonitor</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Reconnect</source>
        <translation>&amp;Neu verbinden</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Binary prefixes (KiB, MiB)</source>
        <translation>&amp;Binärpräfixe (KiB, MiB)</translation>
    </message>
</context>
<context>
    <name>MessagesPane</name>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
</context>
<context>
    <name>MonitorController</name>
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
    <name>RateChart</name>
    <message>
        <source>last %1 s</source>
        <translation>letzte %1 s</translation>
    </message>
</context>
<context>
    <name>SettingsPane</name>
    <message>
        <source>The camera has no such setting.</source>
        <translation>Die Kamera hat keine solche Einstellung.</translation>
    </message>
    <message>
        <source>Camera settings</source>
        <translation>Kameraeinstellungen</translation>
    </message>
    <message>
        <source>Frame rate:</source>
        <translation>Bildrate:</translation>
    </message>
    <message>
        <source>Exposure time (µs):</source>
        <translation>Belichtungszeit (µs):</translation>
    </message>
    <message>
        <source>Automatic exposure</source>
        <translation>Automatische Belichtung</translation>
    </message>
    <message>
        <source>Gain (dB):</source>
        <translation>Verstärkung (dB):</translation>
    </message>
    <message>
        <source>Automatic gain</source>
        <translation>Automatische Verstärkung</translation>
    </message>
    <message>
        <source>Pixel format:</source>
        <translation>Pixelformat:</translation>
    </message>
    <message>
        <source>Offset X:</source>
        <translation>Versatz X:</translation>
    </message>
    <message>
        <source>Offset Y:</source>
        <translation>Versatz Y:</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Breite:</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Höhe:</translation>
    </message>
    <message>
        <source>Binning horizontally:</source>
        <translation>Binning horizontal:</translation>
    </message>
    <message>
        <source>Binning vertically:</source>
        <translation>Binning vertikal:</translation>
    </message>
    <message>
        <source>Rotation:</source>
        <translation>Drehung:</translation>
    </message>
    <message>
        <source>%1°</source>
        <translation>%1°</translation>
    </message>
    <message>
        <source>Flip horizontally</source>
        <translation>Horizontal spiegeln</translation>
    </message>
    <message>
        <source>Flip vertically</source>
        <translation>Vertikal spiegeln</translation>
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
<context>
    <name>SystemInformation</name>
    <message>
        <source>System Information</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
</context>
</TS>
