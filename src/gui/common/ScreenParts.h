#pragma once

#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace velmora::reports {

// Small builders for the controls of the report screens (objectName set).
QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption);
QRadioButton* radio(QGroupBox* box, const char* name, const QString& caption);
QComboBox* choiceBox(QGroupBox* box, const char* name);
QLineEdit* editBox(QGroupBox* box, const char* name);
// A month-and-year box: two digits, "/", four digits.
QLineEdit* monthYearBox(QGroupBox* box, const char* name);

// The era a year box wants, shown right after the box in its row as
// "ค.ศ." or "พ.ศ." (objectName: the box's name + "Era") and as its tooltip.
enum class Era { Christian, Buddhist };
QString eraText(Era era);
QLabel* eraNote(QLineEdit* yearBox, Era era);

} // namespace velmora::reports
