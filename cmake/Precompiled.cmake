# Precompiled toolkit headers for the large targets. Most of a screen's, a
# service's or a test's compile time is spent reading Qt's (and GoogleTest's)
# headers: about 3.5 of the 6.5 s a screen takes here. With these, each large
# target reads them once. A target gets the list of what it links
# (core: Qt Core and SQL; gui: and the widgets; test, guitest: and GoogleTest).
#
# The headers are only read earlier, never relied on: `make lint` compiles
# every file without them, so a file that uses more than it includes still
# fails there. -DVELMORA_PCH=OFF builds without them as well.
option(VELMORA_PCH "Precompile the toolkit headers of the large targets" ON)

set(VELMORA_PCH_core
    <QDateTime> <QDir> <QFile> <QFileInfo> <QJsonArray> <QJsonDocument> <QJsonObject> <QList>
    <QRegularExpression> <QSqlError> <QSqlQuery> <QString> <QStringList> <QVariant>
    <algorithm> <functional> <map> <memory> <optional> <string> <vector>)
set(VELMORA_PCH_gui ${VELMORA_PCH_core}
    <QCheckBox> <QComboBox> <QGridLayout> <QGroupBox> <QHBoxLayout> <QHeaderView> <QLabel>
    <QLineEdit> <QPushButton> <QRadioButton> <QTableView> <QVBoxLayout> <QWidget>)
set(VELMORA_PCH_test ${VELMORA_PCH_core} <QProcess> <QTemporaryDir> <gtest/gtest.h>)
set(VELMORA_PCH_guitest ${VELMORA_PCH_gui} <QProcess> <QTemporaryDir> <QTest> <gtest/gtest.h>)

# velmora_precompile(target core|gui|test|guitest)
function(velmora_precompile target kind)
  if(VELMORA_PCH)
    target_precompile_headers(${target} PRIVATE ${VELMORA_PCH_${kind}})
  endif()
endfunction()
