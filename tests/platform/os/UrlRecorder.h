#pragma once

#include <QDesktopServices>
#include <QObject>
#include <QUrl>

#include <vector>

namespace brantock::testsupport {

// Takes the addresses the desktop's handler would open for a scheme, for its lifetime.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    explicit UrlRecorder(const QString& scheme) : scheme_(scheme) {
        QDesktopServices::setUrlHandler(scheme_, this, "open");
    }
    ~UrlRecorder() override { QDesktopServices::unsetUrlHandler(scheme_); }

    std::vector<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl& url) { opened.push_back(url); }

private:
    QString scheme_;
};

} // namespace brantock::testsupport
