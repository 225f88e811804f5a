#pragma once

#include <QString>

namespace brantock {

// What the program knows of itself: its title (shown by boxes without a title of their
// own), its folder (where the template, sounds and help lie beside it) and its help file.
class App {
public:
    static QString Title();
    static void SetTitle(const QString& title);
    // The folder of the running executable; tests point it elsewhere.
    static QString Path();
    static void SetPath(const QString& folder);
    // The running executable's file name (Linux programs have no extension to drop).
    static QString EXEName();
    static QString HelpFile();
    static void SetHelpFile(const QString& name);
};

} // namespace brantock
