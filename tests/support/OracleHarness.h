#pragma once

// Access to the TDbf oracle (Free Pascal programs over the real TDbf engine)
// for tests that compare this engine's answers with TDbf's.
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

namespace kx::testsupport {

struct RunResult {
    QString out; // standard output, UTF-8
    QString errors; // standard error
    int exitCode = -1;
};

// Builds the oracle programs once (reusing a fresh build of an earlier test
// process) and runs them. One per test process.
class OracleHarness {
public:
    static OracleHarness &instance();

    // False, with the reason, when fpc or the oracle folder is missing or the
    // build fails.
    bool available(QString *why = nullptr);
    // Runs a program of the oracle (dbfexpr, dbfdump...) in the fixture folder.
    RunResult run(const QString &program, const QStringList &args);
    // Runs dbfmake with these arguments; the second one, the target, is taken
    // inside a temporary folder of this process. Returns the target's absolute
    // path; the same arguments give the same fixture without a rebuild.
    // Throws std::runtime_error when dbfmake fails.
    QString makeFixture(const QStringList &args);

    ~OracleHarness();

private:
    OracleHarness();
    bool prepare(QString *why);

    struct State;
    std::unique_ptr<State> state_;
};

} // namespace kx::testsupport

// Skips the current test, with the reason, when the oracle cannot run here;
// fails it instead where KX_REQUIRE_TDBF_ORACLE is set (CI, beside the oracle).
#define SKIP_WITHOUT_TDBF_ORACLE()                                                                                     \
    do {                                                                                                               \
        QString whyNot_;                                                                                               \
        if (!kx::testsupport::OracleHarness::instance().available(&whyNot_)) {                                         \
            if (qEnvironmentVariableIsSet("KX_REQUIRE_TDBF_ORACLE"))                                                   \
                FAIL() << "TDbf oracle required but not available: " << whyNot_.toStdString();                         \
            GTEST_SKIP() << "TDbf oracle not available: " << whyNot_.toStdString();                                    \
        }                                                                                                              \
    } while (false)
