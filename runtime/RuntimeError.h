#pragma once

#include <QString>

#include <exception>
#include <new>
#include <string>
#include <utility>

namespace brantock {

// Error numbers of the run-time errors the programs raise and compare with. The layers above
// keep their own numbers in their own namespaces (dataErr, reportErr, comErr, dialogErr) and
// raise these where they mean the same error.
namespace err {
constexpr int InvalidProcedureCall = 5;
constexpr int Overflow = 6;
constexpr int OutOfMemory = 7;
constexpr int SubscriptOutOfRange = 9;
constexpr int DivisionByZero = 11;
constexpr int TypeMismatch = 13;
constexpr int InternalError = 51;
constexpr int BadFileName = 52;
constexpr int FileNotFound = 53;
constexpr int PermissionDenied = 70;
constexpr int PathFileAccessError = 75;
constexpr int PathNotFound = 76;
constexpr int ObjectNotSet = 91;
constexpr int ObjectUnloaded = 364;
constexpr int InvalidPropertyValue = 380;
} // namespace err

// A numbered run-time error. The source text collects the trail of procedure names
// ("Outer&Inner&") as the error travels up through procedures that re-raise it.
class RuntimeError : public std::exception {
public:
    RuntimeError(int number, QString description, QString source = QString());

    // The standard description of a known error number.
    static RuntimeError of(int number, QString source = QString());
    static QString standardDescription(int number);

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const QString& source() const noexcept { return source_; }

    // Puts a trail piece such as "GetRegSetting&" in front of the source.
    void prependSource(const QString& trailPiece);

    const char* what() const noexcept override { return what_.c_str(); }

private:
    void updateWhat();

    int number_;
    QString description_;
    QString source_;
    std::string what_;
};

// Runs f; a run-time error leaving it gets trailPiece in front of its source and is raised
// again. Other C++ failures become run-time errors on the way, so callers see one kind.
template <class F> decltype(auto) withTrail(const char* trailPiece, F&& f) {
    try {
        return std::forward<F>(f)();
    } catch (RuntimeError& e) {
        e.prependSource(QString::fromUtf8(trailPiece));
        throw;
    } catch (const std::bad_alloc&) {
        throw RuntimeError::of(err::OutOfMemory, QString::fromUtf8(trailPiece));
    } catch (const std::exception& e) {
        throw RuntimeError(err::InternalError, QString::fromUtf8(e.what()),
                           QString::fromUtf8(trailPiece));
    }
}

} // namespace brantock
