#ifndef CHARTWIDGETPLUGIN_H
#define CHARTWIDGETPLUGIN_H

#include <QtUiPlugin/QDesignerCustomWidgetInterface>

// Lets forms hold a ChartWidget; Designer's property editor then offers its
// title and autoScale properties.
class ChartWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    explicit ChartWidgetPlugin(QObject *parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget *createWidget(QWidget *parent) override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface *core) override;
    QString domXml() const override;

private:
    bool m_initialized = false;
};

#endif // CHARTWIDGETPLUGIN_H
