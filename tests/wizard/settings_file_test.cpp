// Tests of the settings file: which lines set which path, what is written, and round trips through a file.
#include "settings_file.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One path as a row expects it: "-" for a path the text does not set.
QString shown(const std::optional<QString>& path)
{
    return path ? QStringLiteral("[%1]").arg(*path) : QStringLiteral("-");
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("analyser");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("packFolder");

        QTest::newRow("empty file") << QByteArray() << "-" << "-" << "-" << "-";
        QTest::newRow("all three as written")
            << QByteArray("Message Personality:\nC:\\m.p_s\n\nAnalyser Personality:\nC:\\a.p_a\n\n"
                          "Compiler Personality:\nC:\\c.p_c\n\n")
            << "[C:\\m.p_s]" << "[C:\\a.p_a]" << "[C:\\c.p_c]" << "-";
        QTest::newRow("all four as written")
            << QByteArray("Message Personality:\nC:\\m.p_s\n\nAnalyser Personality:\nC:\\a.p_a\n\n"
                          "Compiler Personality:\nC:\\c.p_c\n\nPack Folder:\nC:\\Packs\n\n")
            << "[C:\\m.p_s]" << "[C:\\a.p_a]" << "[C:\\c.p_c]" << "[C:\\Packs]";
        QTest::newRow("compiler only") << QByteArray("Compiler Personality:\n/p/c.p_c\n\n") << "-" << "-"
                                       << "[/p/c.p_c]" << "-";
        QTest::newRow("pack folder only") << QByteArray("Pack Folder:\n/opt/packs\n\n") << "-" << "-" << "-"
                                          << "[/opt/packs]";
        QTest::newRow("key with trailing blank is no key")
            << QByteArray("Compiler Personality: \n/p/c.p_c\nPack Folder: \n/opt/packs\n") << "-" << "-" << "-"
            << "-";
        QTest::newRow("key with leading blank is no key")
            << QByteArray(" Message Personality:\n/p/m.p_s\n") << "-" << "-" << "-" << "-";
        QTest::newRow("keys are case-sensitive")
            << QByteArray("compiler personality:\n/p/c.p_c\nPack folder:\n/opt/packs\n") << "-" << "-" << "-"
            << "-";
        QTest::newRow("last occurrence wins")
            << QByteArray("Compiler Personality:\nfirst\nCompiler Personality:\nsecond\n") << "-" << "-"
            << "[second]" << "-";
        QTest::newRow("key on the last line empties its path")
            << QByteArray("Compiler Personality:\nfirst\n\nCompiler Personality:\n") << "-" << "-" << "[]" << "-";
        QTest::newRow("key on the last line without line end")
            << QByteArray("Analyser Personality:") << "-" << "[]" << "-" << "-";
        QTest::newRow("a value line is never a key")
            << QByteArray("Message Personality:\nCompiler Personality:\n/p/c.p_c\n") << "[Compiler Personality:]"
            << "-" << "-" << "-";
        QTest::newRow("a pack folder named like a key")
            << QByteArray("Pack Folder:\nMessage Personality:\n/p/m.p_s\n") << "-" << "-" << "-"
            << "[Message Personality:]";
        QTest::newRow("unknown lines skipped")
            << QByteArray("junk\nAnalyser Personality:\n  spaced path  \nmore junk\n") << "-" << "[  spaced path  ]"
            << "-" << "-";
        QTest::newRow("carriage returns of a Windows editor")
            << QByteArray("Message Personality:\r\nC:\\m.p_s\r\n\r\nPack Folder:\r\nC:\\Packs\r\n")
            << "[C:\\m.p_s]" << "-" << "-" << "[C:\\Packs]";
    }

    void parse()
    {
        QFETCH(QByteArray, text);
        const PersonalitySettings settings = parseSettings(text);
        QTEST(shown(settings.message), "message");
        QTEST(shown(settings.analyser), "analyser");
        QTEST(shown(settings.compiler), "compiler");
        QTEST(shown(settings.packFolder), "packFolder");
    }

    void format_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("analyser");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("packFolder");
        QTest::addColumn<QByteArray>("expected");
        // Without a pack folder the file holds exactly what earlier wizards wrote.
        QTest::newRow("all three, in fixed order")
            << "m" << "a" << "c" << ""
            << QByteArray("Message Personality:\nm\n\nAnalyser Personality:\na\n\nCompiler Personality:\nc\n\n");
        QTest::newRow("the pack folder after the three")
            << "m" << "a" << "c" << "C:\\Packs"
            << QByteArray("Message Personality:\nm\n\nAnalyser Personality:\na\n\nCompiler Personality:\nc\n\n"
                          "Pack Folder:\nC:\\Packs\n\n");
        QTest::newRow("only the compiler") << "" << "" << "C:\\c.p_c" << ""
                                           << QByteArray("Compiler Personality:\nC:\\c.p_c\n\n");
        QTest::newRow("compiler and pack folder")
            << "" << "" << "c" << "/opt/packs"
            << QByteArray("Compiler Personality:\nc\n\nPack Folder:\n/opt/packs\n\n");
        QTest::newRow("nothing") << "" << "" << "" << "" << QByteArray();
        QTest::newRow("paths unchanged")
            << " m " << "" << "" << " p " << QByteArray("Message Personality:\n m \n\nPack Folder:\n p \n\n");
    }

    void format()
    {
        QFETCH(QString, message);
        QFETCH(QString, analyser);
        QFETCH(QString, compiler);
        QFETCH(QString, packFolder);
        QTEST(formatSettings(message, analyser, compiler, packFolder), "expected");
    }

    void roundTripThroughFile_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("analyser");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("packFolder");
        QTest::newRow("all three") << "C:\\My Files\\m.p_s" << "/p/a.p_a" << "c.p_c" << "";
        QTest::newRow("all four") << "C:\\My Files\\m.p_s" << "/p/a.p_a" << "c.p_c" << "C:\\Users\\me\\Packs";
        QTest::newRow("compiler only") << "" << "" << "C:\\c.p_c" << "";
        QTest::newRow("non-ASCII paths") << "" << "/p/Ölmühle.p_a" << "/p/c.p_c" << "/p/Pakete für Ölmühle";
    }

    void roundTripThroughFile()
    {
        QFETCH(QString, message);
        QFETCH(QString, analyser);
        QFETCH(QString, compiler);
        QFETCH(QString, packFolder);
        QTemporaryDir folder;
        const QString file = folder.filePath(QStringLiteral("settings.txt"));
        const QString old = QStringLiteral("old");
        writeSettingsFile(file, old, old, old, old);
        writeSettingsFile(file, message, analyser, compiler, packFolder);

        // Empty fields leave no entry, so a later start leaves them unset.
        const PersonalitySettings read = readSettingsFile(file);
        auto expected = [](const QString& path) {
            return path.isEmpty() ? QStringLiteral("-") : QStringLiteral("[%1]").arg(path);
        };
        QCOMPARE(shown(read.message), expected(message));
        QCOMPARE(shown(read.analyser), expected(analyser));
        QCOMPARE(shown(read.compiler), expected(compiler));
        QCOMPARE(shown(read.packFolder), expected(packFolder));
    }

    void missingFileSetsNothing()
    {
        QTemporaryDir folder;
        const PersonalitySettings read = readSettingsFile(folder.filePath(QStringLiteral("absent.txt")));
        QVERIFY(!read.message && !read.analyser && !read.compiler && !read.packFolder);
    }

    void unwritableFileIsSkipped()
    {
        // Skipped without a word: no warning either.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        QTemporaryDir folder;
        const QString kept = folder.filePath(QStringLiteral("kept.txt"));
        QFile keptFile(kept);
        QVERIFY(keptFile.open(QIODevice::WriteOnly));
        keptFile.close();

        // A folder in the file's place cannot be opened for writing; it stays as it was.
        writeSettingsFile(folder.path(), QStringLiteral("m"), QString(), QStringLiteral("c"), QStringLiteral("p"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("kept.txt")});
        QVERIFY(QFileInfo(kept).isFile());

        // Nor are missing folders made for it.
        writeSettingsFile(folder.filePath(QStringLiteral("no/such/settings.txt")), QStringLiteral("m"), QString(),
                          QStringLiteral("c"), QStringLiteral("p"));
        QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("no"))));
    }
};

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "settings_file_test.moc"
