// The program itself, ended by the signals a desktop session or a terminal sends: it must
// end as closing its window does, with its placement written to quendra.ini.
#include <signal.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace quendra {
namespace {

// Whether process `pid` has a handler for `signal` (its SigCgt mask in /proc).
bool catches(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong mask = line.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (mask >> (signal - 1) & 1) != 0;
        }
    }
    return false;
}

TEST(TerminationSignal, EndsTheViewerAsClosingItsWindowDoesSettingsWritten) {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/quendra");
    ASSERT_TRUE(QFile::exists(program)) << program.toStdString();
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(program, {});
        ASSERT_TRUE(run.waitForStarted(10000));
        // Sent once the program has taken the signal over (or, should it never, after a
        // minute: then it must end by the signal and the test fails below).
        const QDeadlineTimer patience(60000);
        while (!catches(run.processId(), signal) && !patience.hasExpired() &&
               run.state() == QProcess::Running) {
            QThread::msleep(10);
        }
        ASSERT_EQ(::kill(static_cast<pid_t>(run.processId()), signal), 0);
        ASSERT_TRUE(run.waitForFinished(60000)) << signal;
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(run.exitCode(), 0) << signal << run.readAll().toStdString();
        QFile ini(dir.filePath(QStringLiteral("quendra/quendra.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly)) << "no settings after signal " << signal;
        const QByteArray text = ini.readAll();
        EXPECT_TRUE(text.startsWith("[Pos]\nTop=")) << signal << text.toStdString();
        EXPECT_TRUE(text.contains("\nWidth=")) << signal;
    }
}

} // namespace
} // namespace quendra
