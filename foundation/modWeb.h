#pragma once

#include <QString>

class QWidget;

namespace brantock {

// Opens a web address with the desktop's handler (see OpenOrTell).
void BrowseToWebSite(const QString& address, QWidget* window);

// Opens a document or web address with the desktop's handler. When nothing opens it, a box
// names the path or address, so the user can open it some other way; false then.
bool OpenOrTell(QWidget* window, const QString& target, const QString& directory);

} // namespace brantock
