#pragma once

// The toolkit's own texts (file dialogs, print preview, standard buttons,
// context menus) and their Thai catalogue, translations/velmora_th.ts, built
// by lrelease and installed with the program.

#include <vector>

class QTranslator;

namespace velmora::app {

struct ToolkitText
{
    const char* context; // the toolkit's translation context
    const char* source; // the English text as the toolkit writes it
};

// Every toolkit text the catalogue translates.
const std::vector<ToolkitText>& toolkitTexts();

// Installs the Thai catalogue on the application: from the installed
// program's data folder, else from the build tree. Null when not found.
QTranslator* installThaiCatalogue();

} // namespace velmora::app
