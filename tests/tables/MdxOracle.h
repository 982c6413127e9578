#pragma once

// Runs the TDbf oracle programs (Free Pascal over the real TDbf) for the
// index interop tests. They are built once per user into a folder under the
// temporary directory; tests skip when fpc is missing.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <unistd.h>

namespace mdx_oracle {

inline QString sourceDir() { return QStringLiteral(KX_ORACLE_DIR); }

inline QString binDir() { return QDir::tempPath() + QStringLiteral("/kx-mdx-oracle-%1").arg(::getuid()); }

// Empty when the programs are ready; otherwise why not (to skip with).
inline QString ensureBuilt()
{
    static QString why = [] {
        if (QStandardPaths::findExecutable(QStringLiteral("fpc")).isEmpty())
            return QStringLiteral("fpc is not installed: TDbf oracle unavailable");
        const QString script = sourceDir() + QStringLiteral("/build.sh");
        if (!QFileInfo::exists(script))
            return QStringLiteral("no TDbf oracle at %1").arg(sourceDir());
        QDir().mkpath(binDir());
        QLockFile lock(binDir() + QStringLiteral("/.lock"));
        lock.setStaleLockTime(0);
        if (!lock.lock())
            return QStringLiteral("cannot lock %1").arg(binDir());
        const QStringList programs{QStringLiteral("dbfdump"), QStringLiteral("dbfmake"), QStringLiteral("dbflocate")};
        bool fresh = true;
        for (const QString &p : programs) {
            const QFileInfo bin(binDir() + u'/' + p);
            const QFileInfo src(sourceDir() + u'/' + p + QStringLiteral(".pas"));
            const QFileInfo kit(sourceDir() + QStringLiteral("/tdbfkit.pas"));
            if (!bin.exists() || bin.lastModified() < src.lastModified() || bin.lastModified() < kit.lastModified())
                fresh = false;
        }
        if (fresh)
            return QString();
        QProcess build;
        build.start(QStringLiteral("/bin/sh"), {script, binDir()});
        if (!build.waitForFinished(600000) || build.exitCode() != 0)
            return QStringLiteral("building the TDbf oracle failed: %1")
                .arg(QString::fromLocal8Bit(build.readAllStandardOutput() + build.readAllStandardError()));
        return QString();
    }();
    return why;
}

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

inline Result run(const QString &program, const QStringList &args, const QString &workDir = QString())
{
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(binDir() + u'/' + program, args);
    Result r;
    if (!p.waitForFinished(300000)) {
        p.kill();
        p.waitForFinished();
        r.err = QStringLiteral("timed out");
        return r;
    }
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// What `dbfdump FILE --norecords --keys` says about the tags TDbf opened.
struct TagReport {
    QString expression;
    QString keyType;
    QList<std::uint32_t> order;
    QStringList keys; // hex of the key TDbf computes for each entry, in order
    bool checkOk = false;
    QStringList errors;
};

struct DumpReport {
    bool mdxOpened = false;
    QStringList tagNames; // in the file's order
    QHash<QString, TagReport> tags;
    QString raw;
};

inline DumpReport dump(const QString &dbfPath)
{
    DumpReport report;
    const Result r = run(QStringLiteral("dbfdump"), {dbfPath, QStringLiteral("--norecords"), QStringLiteral("--keys")});
    report.raw = r.out + r.err;
    for (const QString &line : r.out.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = line.split(u'\t');
        if (f.isEmpty())
            continue;
        if (f[0] == QLatin1String("#mdx"))
            report.mdxOpened = f.size() < 2 || !f[1].startsWith(QLatin1String("none"));
        if (f.size() < 3)
            continue;
        const QString &tag = f[1];
        if (f[0] == QLatin1String("#tag")) {
            report.tagNames << tag;
            TagReport &t = report.tags[tag];
            for (const QString &kv : f.mid(2)) {
                if (kv.startsWith(QLatin1String("expr=")))
                    t.expression = kv.mid(5);
                else if (kv.startsWith(QLatin1String("keytype=")))
                    t.keyType = kv.mid(8);
            }
        } else if (f[0] == QLatin1String("#order")) {
            for (const QString &n : f[2].split(u' ', Qt::SkipEmptyParts))
                report.tags[tag].order << n.toUInt();
        } else if (f[0] == QLatin1String("#key") && f.size() >= 4) {
            report.tags[tag].keys << f[3];
        } else if (f[0] == QLatin1String("#check")) {
            report.tags[tag].checkOk = f[2] == QLatin1String("ok");
        } else if (f[0] == QLatin1String("#error")) {
            report.tags[tag].errors << f.mid(2).join(u'\t');
        }
    }
    return report;
}

} // namespace mdx_oracle

// Skips the current test when the oracle cannot run.
#define KX_REQUIRE_MDX_ORACLE()                                                                                        \
    do {                                                                                                               \
        const QString why_ = mdx_oracle::ensureBuilt();                                                                \
        if (!why_.isEmpty()) {                                                                                         \
            if (qEnvironmentVariableIsSet("KX_REQUIRE_TDBF_ORACLE"))                                                   \
                FAIL() << "TDbf oracle required but not available: " << why_.toStdString();                            \
            GTEST_SKIP() << why_.toStdString();                                                                        \
        }                                                                                                              \
    } while (0)
