#pragma once

// The files the package installs beside the program: the user guide with its
// pictures and the Thai catalogue of the toolkit's texts. An installed
// program finds them in its data folder (share/velmora beside bin/); a
// program run from its build tree finds the guide in the source tree's docs/
// and the catalogue where the build made it.

#include <QString>

namespace velmora::app {

// The Thai user guide (Markdown), or empty when neither place holds it.
QString userGuidePath();

// The compiled Thai catalogue of the toolkit's texts, or empty.
QString thaiCataloguePath();

} // namespace velmora::app
