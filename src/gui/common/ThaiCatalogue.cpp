#include "gui/common/InstalledFiles.h"
#include "gui/common/ToolkitTexts.h"

#include <QCoreApplication>
#include <QTranslator>

namespace velmora::app {

QTranslator* installThaiCatalogue()
{
    const QString path = thaiCataloguePath();
    if (path.isEmpty() || !QCoreApplication::instance())
        return nullptr;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(path) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return nullptr;
    }
    return translator;
}

} // namespace velmora::app
