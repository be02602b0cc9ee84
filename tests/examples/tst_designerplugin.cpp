#include "testmain.h"

#include <chartwidget.h>

#include <QPluginLoader>
#include <QXmlStreamReader>
#include <QtTest>

#ifdef TAVRIN_DESIGNER_PLUGIN_PATH
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

// Loads the Designer plugin as Designer does and places a chart with it.
class DesignerPluginTest : public QObject
{
    Q_OBJECT
private slots:
    void createsChartWithProperties();
};

void DesignerPluginTest::createsChartWithProperties()
{
#ifndef TAVRIN_DESIGNER_PLUGIN_PATH
    QSKIP("the Designer plugin is not built here (no qttools5-dev)");
#else
    QPluginLoader loader(QStringLiteral(TAVRIN_DESIGNER_PLUGIN_PATH));
    QObject *instance = loader.instance();
    QVERIFY2(instance, qPrintable(loader.errorString()));
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
    QVERIFY(plugin);
    QCOMPARE(plugin->name() + plugin->includeFile(), QStringLiteral("ChartWidgetchartwidget.h"));
    QVERIFY(!plugin->isContainer());

    // The form template must name the class and both properties, and parse.
    QXmlStreamReader xml(plugin->domXml());
    QString widgetClass;
    QStringList properties;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("widget"))
            widgetClass = xml.attributes().value(QLatin1String("class")).toString();
        else if (xml.name() == QLatin1String("property"))
            properties << xml.attributes().value(QLatin1String("name")).toString();
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(widgetClass, QStringLiteral("ChartWidget"));
    QVERIFY(properties.contains(QStringLiteral("title")) && properties.contains(QStringLiteral("autoScale")));

    // Designer's property editor and uic's generated code go through the
    // meta-object, by name.
    QWidget form;
    auto *chart = qobject_cast<ChartWidget *>(plugin->createWidget(&form));
    QVERIFY(chart);
    QCOMPARE(chart->parentWidget(), &form);
    QVERIFY(chart->setProperty("title", QStringLiteral("Sales")) && chart->setProperty("autoScale", false));
    QCOMPARE(chart->title(), QStringLiteral("Sales"));
    QCOMPARE(chart->property("autoScale"), QVariant(false));
#endif
}

TAVRIN_TEST(DesignerPluginTest)
#include "tst_designerplugin.moc"
