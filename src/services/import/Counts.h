#pragma once

// The counts of a save as the audit log keeps them. The lines the officers
// read (describeCounts) and the screens' messages are declared in
// services/ImportJobs.h and made in Counts.cpp beside this.

#include "services/ImportJobs.h"

#include <QJsonObject>
#include <QString>

#include <utility>
#include <vector>

namespace velmora::import {

// {"name": {"inserted", "updated", "left_alone", "skipped"}} for each table.
QJsonObject auditCounts(const std::vector<std::pair<QString, TableCounts>>& tables);

} // namespace velmora::import
