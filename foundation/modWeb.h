#pragma once

#include <QString>

class QWidget;

namespace brantock {

// Opens a web address with the desktop's handler; the outcome is not reported.
void BrowseToWebSite(const QString& address, QWidget* window);

} // namespace brantock
