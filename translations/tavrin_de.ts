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
    <message>
        <source>Save as image ...</source>
        <translation>Als Bild speichern ...</translation>
    </message>
    <message>
        <source>Save in pdf ...</source>
        <translation>Als PDF speichern ...</translation>
    </message>
    <message>
        <source>Print ...</source>
        <translation>Drucken ...</translation>
    </message>
    <message>
        <source>Copy to clipboard</source>
        <translation>In die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>png files(*.png)</source>
        <translation>PNG-Dateien (*.png)</translation>
    </message>
    <message>
        <source>image files(%1)</source>
        <translation>Bilddateien (%1)</translation>
    </message>
    <message>
        <source>pdf files(*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>Images cannot be written in the format %1.</source>
        <translation>Bilder können nicht im Format %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>The chart is too small or too large for an image.</source>
        <translation>Das Diagramm ist für ein Bild zu klein oder zu groß.</translation>
    </message>
    <message>
        <source>The chart could not be printed.</source>
        <translation>Das Diagramm konnte nicht gedruckt werden.</translation>
    </message>
    <message>
        <source>The chart could not be copied to the clipboard.</source>
        <translation>Das Diagramm konnte nicht in die Zwischenablage kopiert werden.</translation>
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
