#include "OracleHarness.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>

#include <unistd.h>

namespace kx::testsupport {

namespace {

const QStringList kPrograms = {"dbfdump", "dbfmake", "dbfexpr", "dbflocate", "dbfbench"};
constexpr int kBuildTimeoutMs = 5 * 60 * 1000;
constexpr int kRunTimeoutMs = 2 * 60 * 1000;

QString oracleSourceDir()
{
    const QString fromEnv = qEnvironmentVariable("KX_ORACLE_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
#ifdef KX_ORACLE_DIR
    return QStringLiteral(KX_ORACLE_DIR);
#else
    return {};
#endif
}

// A build is fresh when every program exists and is newer than every source.
bool isFresh(const QString &binDir, const QString &srcDir)
{
    QDateTime newestSource;
    const QFileInfoList sources = QDir(srcDir).entryInfoList({"*.pas", "build.sh"}, QDir::Files);
    for (const QFileInfo &f : sources)
        newestSource = std::max(newestSource, f.lastModified());
    for (const QString &p : kPrograms) {
        if (!QFileInfo::exists(srcDir + "/" + p + ".pas"))
            continue;
        const QFileInfo bin(binDir + "/" + p);
        if (!bin.isExecutable() || bin.lastModified() < newestSource)
            return false;
    }
    return true;
}

} // namespace

struct OracleHarness::State {
    std::mutex mutex;
    std::optional<bool> ready;
    QString why;
    QString binDir;
    std::unique_ptr<QTemporaryDir> work;
    QHash<QString, QString> fixtures;
};

OracleHarness::OracleHarness() : state_(std::make_unique<State>()) {}

OracleHarness::~OracleHarness() = default;

OracleHarness &OracleHarness::instance()
{
    static OracleHarness harness;
    return harness;
}

bool OracleHarness::available(QString *why)
{
    std::lock_guard lock(state_->mutex);
    if (!state_->ready)
        state_->ready = prepare(&state_->why);
    if (why)
        *why = state_->why;
    return *state_->ready;
}

bool OracleHarness::prepare(QString *why)
{
    const QString src = oracleSourceDir();
    if (src.isEmpty() || !QFileInfo::exists(src + "/build.sh")) {
        *why = QStringLiteral("no oracle folder (set KX_ORACLE_DIR); looked at \"%1\"").arg(src);
        return false;
    }
    if (QStandardPaths::findExecutable("fpc").isEmpty()) {
        *why = QStringLiteral("the Free Pascal compiler fpc is not installed");
        return false;
    }
    // Shared by the test processes of this user; the lock keeps two builds apart.
    const QString binDir = QStringLiteral("/tmp/kx-tdbf-bin-%1").arg(getuid());
    QLockFile lock(binDir + ".lock");
    lock.setStaleLockTime(kBuildTimeoutMs);
    if (!lock.lock()) {
        *why = QStringLiteral("cannot lock %1.lock").arg(binDir);
        return false;
    }
    if (!isFresh(binDir, src)) {
        QProcess build;
        build.setProcessChannelMode(QProcess::MergedChannels);
        build.start("sh", {src + "/build.sh", binDir});
        const bool finished = build.waitForFinished(kBuildTimeoutMs);
        if (!finished || build.exitStatus() != QProcess::NormalExit || build.exitCode() != 0) {
            if (!finished)
                build.kill();
            *why = QStringLiteral("building the oracle failed: %1").arg(QString::fromUtf8(build.readAll()).right(2000));
            return false;
        }
    }
    state_->binDir = binDir;
    state_->work = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/kx-oracle-fixtures-XXXXXX");
    if (!state_->work->isValid()) {
        *why = QStringLiteral("cannot create a temporary folder");
        return false;
    }
    return true;
}

RunResult OracleHarness::run(const QString &program, const QStringList &args)
{
    RunResult result;
    if (!available(&result.errors))
        return result;
    QProcess p;
    p.setWorkingDirectory(state_->work->path());
    p.start(state_->binDir + "/" + program, args);
    if (!p.waitForFinished(kRunTimeoutMs)) {
        p.kill();
        p.waitForFinished();
        result.errors = QStringLiteral("%1 did not finish").arg(program);
        return result;
    }
    result.out = QString::fromUtf8(p.readAllStandardOutput());
    result.errors = QString::fromUtf8(p.readAllStandardError());
    result.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return result;
}

QString OracleHarness::makeFixture(const QStringList &args)
{
    if (args.size() < 2)
        throw std::runtime_error("makeFixture needs a command and a target");
    QString why;
    if (!available(&why))
        throw std::runtime_error(why.toStdString());
    const QString key = args.join(QChar(0x1f));
    {
        std::lock_guard lock(state_->mutex);
        const auto it = state_->fixtures.constFind(key);
        if (it != state_->fixtures.constEnd())
            return *it;
    }
    QStringList actual = args;
    actual[1] = QDir(state_->work->path()).absoluteFilePath(args[1]);
    const RunResult r = run("dbfmake", actual);
    if (r.exitCode != 0)
        throw std::runtime_error(
            QStringLiteral("dbfmake %1 failed: %2%3").arg(args.join(' '), r.out, r.errors).toStdString());
    std::lock_guard lock(state_->mutex);
    state_->fixtures.insert(key, actual[1]);
    return actual[1];
}

} // namespace kx::testsupport
