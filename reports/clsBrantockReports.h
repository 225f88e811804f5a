#pragma once

#include <QObject>
#include <QString>

class QDBusConnection;

namespace brantock::reports {

// The reports program's automation class: on the session bus under the name
// "BrantockReports.clsBrantockReports", its one method Run runs the program's start-up in
// this process again. It holds no state.
class clsBrantockReports : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "BrantockReports._clsBrantockReports")
public:
    static inline const QString ServiceName = QStringLiteral("BrantockReports.clsBrantockReports");
    static inline const QString ObjectPath = QStringLiteral("/clsBrantockReports");
    static inline const QString InterfaceName =
        QStringLiteral("BrantockReports._clsBrantockReports");

    explicit clsBrantockReports(QObject* parent = nullptr);

    // Offers the class on the bus; false when there is no bus, or another process serves the
    // name already (every start is a process of its own, so the first one answers).
    bool Register(QDBusConnection bus);

    // Calls made through the bus so far, finished or not.
    int calls() const { return calls_; }

public Q_SLOTS:
    Q_SCRIPTABLE void Run();

Q_SIGNALS:
    // A Run has ended.
    void ran();

private:
    int calls_ = 0;
};

} // namespace brantock::reports
