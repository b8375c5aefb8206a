<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="en_US">
<context>
    <name>CameraStreamer</name>
    <message numerus="yes">
        <source>%n frame(s) lost</source>
        <translation>
            <numerusform>%n frame lost</numerusform>
            <numerusform>%n frames lost</numerusform>
        </translation>
    </message>
</context>
</TS>
