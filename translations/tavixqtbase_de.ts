<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en_US">
<context>
    <name>TavixQtBase</name>
    <message>
        <source>Static IP</source>
        <translation>Statische IP</translation>
    </message>
    <message>
        <source>DHCP</source>
        <translation>DHCP</translation>
    </message>
    <message>
        <source>Auto IP</source>
        <translation>Auto-IP</translation>
    </message>
    <message>
        <source>Images: %1; Errors: %2</source>
        <translation>Bilder: %1; Fehler: %2</translation>
    </message>
</context>
</TS>
