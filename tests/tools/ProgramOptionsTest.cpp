// --help, --version and usage errors of the three programs, as a person or a script meets them:
// help and version on standard output with exit code 0, a usage error on standard error with
// the usage and exit code 1. None of them needs a display or a server.

#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QString s(const char* t) {
    return QString::fromUtf8(t);
}

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const char* program, const QStringList& args) {
    QTemporaryDir work;  // no Server.Dat, nothing to find
    QProcess p;
    p.setWorkingDirectory(work.path());
    // Qt's complaint about a missing runtime folder is not the program's output.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(s("XDG_RUNTIME_DIR"), work.path());
    p.setProcessEnvironment(env);
    p.start(s(program), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

struct Program {
    const char* path;
    const char* name;
    QStringList helpFlags;
    QStringList badCommandLines;  // '|' separates the arguments
};

TEST(ProgramOptions, HelpAndVersionOnStdoutAndUsageErrorsOnStderrWithExitCodeOne) {
    const std::vector<Program> programs{
        {MD_SQLSHELL_PATH,
         "masterdata-sql",
         {s("-?"), s("--help")},
         {s("-X"), s("-S"), s("-Q|a|-i|b"), s("-q|a|-Q|b")}},
        {MD_DEMO_PATH,
         "masterdata-demo",
         {s("--help")},
         {s("--nonsense|x"), s(""), s("a|b"), s("--force|--reuse|x"), s("--products|-1|x"),
          s("--session|x")}},
        {MD_PROGRAM_PATH, "masterdata", {s("--help")}, {s("--nonsense")}},
    };
    for (const Program& p : programs) {
        SCOPED_TRACE(p.name);
        for (const QString& flag : p.helpFlags) {
            const Outcome help = run(p.path, {flag});
            EXPECT_EQ(help.exitCode, 0) << flag.toStdString();
            EXPECT_TRUE(help.out.contains(s("usage: ") + s(p.name) + u' '))
                << help.out.toStdString();
            EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
        }
        const Outcome version = run(p.path, {s("--version")});
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, s(p.name) + s(" ") + s(MD_VERSION) + u'\n');

        for (const QString& line : p.badCommandLines) {
            const QStringList args = line.isEmpty() ? QStringList{} : line.split(u'|');
            const Outcome bad = run(p.path, args);
            EXPECT_EQ(bad.exitCode, 1) << line.toStdString();
            EXPECT_TRUE(bad.out.isEmpty()) << line.toStdString() << bad.out.toStdString();
            EXPECT_TRUE(bad.err.startsWith(s(p.name) + s(": "))) << bad.err.toStdString();
            EXPECT_TRUE(bad.err.contains(s("\n\nusage: ") + s(p.name) + u' '))
                << "the usage follows the problem";
        }
    }
}

}  // namespace
