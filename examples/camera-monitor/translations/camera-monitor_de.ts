<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>CameraControls</name>
    <message>
        <source>Camera settings</source>
        <translation>Kameraeinstellungen</translation>
    </message>
    <message>
        <source>Frame rate:</source>
        <translation>Bildrate:</translation>
    </message>
    <message>
        <source>Exposure time:</source>
        <translation>Belichtungszeit:</translation>
    </message>
    <message>
        <source>Gain:</source>
        <translation>Verstärkung:</translation>
    </message>
    <message>
        <source>Pixel format:</source>
        <translation>Pixelformat:</translation>
    </message>
    <message>
        <source>not available</source>
        <translation>nicht verfügbar</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatisch</translation>
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
    <message>
        <source>The camera does not offer this setting.</source>
        <translation>Die Kamera bietet diese Einstellung nicht an.</translation>
    </message>
</context>
<context>
    <name>MonitorWindow</name>
    <message>
        <source>(read when connected)</source>
        <translation>(wird beim Verbinden gelesen)</translation>
    </message>
    <message>
        <source>not reported (bits 0x%1)</source>
        <translation>nicht gemeldet (Bits 0x%1)</translation>
    </message>
    <message>
        <source>This discovery answer does not look like a camera&apos;s; it may be damaged.
%1</source>
        <translation>Diese Antwort auf die Gerätesuche stammt offenbar nicht von einer Kamera; sie ist womöglich beschädigt.
%1</translation>
    </message>
    <message>
        <source>Camera Monitor</source>
        <translation>Kameramonitor</translation>
    </message>
    <message>
        <source>Double-click a camera to monitor it.</source>
        <translation>Doppelklicken Sie auf eine Kamera, um sie zu überwachen.</translation>
    </message>
    <message>
        <source>Messages</source>
        <translation>Meldungen</translation>
    </message>
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
        <source>Counts:</source>
        <translation>Zähler:</translation>
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
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Contact support...</source>
        <translation>&amp;Support kontaktieren …</translation>
    </message>
    <message>
        <source>Send &amp;feedback...</source>
        <translation>&amp;Feedback senden …</translation>
    </message>
    <message>
        <source>&amp;System information...</source>
        <translation>System&amp;informationen …</translation>
    </message>
    <message>
        <source>Streaming from %1</source>
        <translation>Erfassung von %1</translation>
    </message>
    <message>
        <source>-</source>
        <translation>–</translation>
    </message>
    <message>
        <source>No mail program is set up; see Help &gt; System information for the text to send.</source>
        <translation>Kein E-Mail-Programm eingerichtet; den zu sendenden Text zeigt Hilfe &gt; Systeminformationen.</translation>
    </message>
    <message>
        <source>No web browser is set up; the feedback page is %1</source>
        <translation>Kein Webbrowser eingerichtet; die Feedback-Seite ist %1</translation>
    </message>
    <message>
        <source>System Information</source>
        <translation>Systeminformationen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Save image...</source>
        <translation>Bild &amp;speichern …</translation>
    </message>
    <message>
        <source>No image to save.</source>
        <translation>Kein Bild zum Speichern.</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>Saved the image to %1</source>
        <translation>Das Bild wurde in %1 gespeichert</translation>
    </message>
    <message>
        <source>Cannot write the image to %1</source>
        <translation>Das Bild kann nicht in %1 geschrieben werden</translation>
    </message>
</context>
</TS>
