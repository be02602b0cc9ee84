<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ChartWidget</name>
    <message>
        <source>Series %1</source>
        <translation>Reihe %1</translation>
    </message>
</context>
<context>
    <name>ChartWidgetPrivate</name>
    <message>
        <source>Save in Excel-xml ...</source>
        <translation>Als Excel-XML speichern ...</translation>
    </message>
    <message>
        <source>Save in csv ...</source>
        <translation>Als CSV speichern ...</translation>
    </message>
    <message>
        <source>Save in svg ...</source>
        <translation>Als SVG speichern ...</translation>
    </message>
    <message>
        <source>Specify the file to save</source>
        <translation>Datei zum Speichern angeben</translation>
    </message>
    <message>
        <source>csv files(*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>xml files(*.xml)</source>
        <translation>XML-Dateien (*.xml)</translation>
    </message>
    <message>
        <source>svg files(*.svg)</source>
        <translation>SVG-Dateien (*.svg)</translation>
    </message>
    <message>
        <source>Error</source>
        <translation>Fehler</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Sheet1</source>
        <translation>Tabelle1</translation>
    </message>
</context>
</TS>
