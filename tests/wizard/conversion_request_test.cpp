// Tests of the extension list, the summary text and the converter's argument list.
#include "conversion_request.h"

#include <QTest>

using Checked = std::array<bool, extensionChoices.size()>;
Q_DECLARE_METATYPE(Checked)
Q_DECLARE_METATYPE(ConversionEntries)

namespace {

// Boxes in their on-screen names, turned into the order of extensionChoices.
Checked checkedBoxes(std::initializer_list<const char*> names)
{
    Checked checked{};
    for (const char* name : names) {
        for (std::size_t i = 0; i < extensionChoices.size(); ++i) {
            if (qstrcmp(extensionChoices[i], name) == 0)
                checked[i] = true;
        }
    }
    return checked;
}

ConversionEntries fullEntries()
{
    return {QStringLiteral("C:\\keil\\demo.Uv2"), QStringLiteral("D:\\out"), QStringLiteral("demo"),
            QStringLiteral("C:\\p\\msg.p_s"), QStringLiteral("C:\\p\\base.p_a"), QStringLiteral("C:\\p\\cmp.p_c"),
            QStringLiteral("c,h"), QStringLiteral("C:\\Packs")};
}

} // namespace

class ConversionRequestTest : public QObject {
    Q_OBJECT

private slots:
    void extensionList_data()
    {
        QTest::addColumn<Checked>("checked");
        QTest::addColumn<QString>("custom");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cpp and h") << checkedBoxes({"cpp", "h"}) << "" << "cpp,h";
        QTest::newRow("cpp and custom") << checkedBoxes({"cpp"}) << "res,xml" << "cpp,res,xml";
        QTest::newRow("custom ending in comma") << checkedBoxes({}) << "res," << "res";
        QTest::newRow("nothing") << checkedBoxes({}) << "" << "";
        QTest::newRow("only one trailing comma goes") << checkedBoxes({}) << "res,," << "res,";
        QTest::newRow("table order, not click order")
            << checkedBoxes({"hxx", "c", "cpp", "hh"}) << "" << "cpp,c,hh,hxx";
        QTest::newRow("all eight") << checkedBoxes({"cpp", "cc", "cxx", "c", "h", "hh", "hpp", "hxx"}) << ""
                                   << "cpp,cc,cxx,c,h,hh,hpp,hxx";
        QTest::newRow("custom as typed") << checkedBoxes({"c"}) << " s , a51" << "c, s , a51";
    }

    void extensionList()
    {
        QFETCH(Checked, checked);
        QFETCH(QString, custom);
        QFETCH(QString, expected);
        QCOMPARE(buildExtensionList(checked, custom), expected);
    }

    void summaryListsEveryEntry()
    {
        QCOMPARE(conversionSummary(fullEntries()),
                 QStringLiteral("Keil Project:\nC:\\keil\\demo.Uv2\n\n"
                                "Ostra / Ostra++ Project Directory:\nD:\\out\n\n"
                                "Ostra / Ostra++ Project Name:\ndemo\n\n"
                                "Message Personality:\nC:\\p\\msg.p_s\n\n"
                                "Template Analyser Personality:\nC:\\p\\base.p_a\n\n"
                                "Compiler Personality:\nC:\\p\\cmp.p_c\n\n"
                                "Pack Folder:\nC:\\Packs\n\n"
                                "File Extensions:\nc,h\n"));
    }

    void summaryKeepsHeadingsOfEmptyEntries()
    {
        ConversionEntries entries = fullEntries();
        entries.messagePersonality.clear();
        entries.analyserPersonality.clear();
        entries.extensionList.clear();
        entries.packFolder.clear();
        const QString summary = conversionSummary(entries);
        QVERIFY(summary.contains(QStringLiteral("demo\n\nMessage Personality:\n\n\nTemplate Analyser Personality:\n\n\n"
                                                "Compiler Personality:\n")));
        // The pack folder is optional to the converter too: without one, no heading stands for it.
        QVERIFY(summary.endsWith(QStringLiteral("\\cmp.p_c\n\nFile Extensions:\n\n")));
        QVERIFY(!summary.contains(QLatin1String("Pack")));
    }

    void arguments_data()
    {
        QTest::addColumn<ConversionEntries>("entries");
        QTest::addColumn<QStringList>("expected");

        ConversionEntries mandatory = fullEntries();
        mandatory.messagePersonality.clear();
        mandatory.analyserPersonality.clear();
        mandatory.extensionList.clear();
        mandatory.packFolder.clear();
        QTest::newRow("mandatory only")
            << mandatory
            << QStringList{"C:\\keil\\demo.Uv2", "D:\\out", "-cp", "C:\\p\\cmp.p_c", "-pn", "demo"};

        ConversionEntries withMessage = mandatory;
        withMessage.messagePersonality = QStringLiteral("m.p_s");
        QTest::newRow("message only")
            << withMessage
            << QStringList{"C:\\keil\\demo.Uv2", "D:\\out", "-cp", "C:\\p\\cmp.p_c", "-pn", "demo", "-mp", "m.p_s"};

        ConversionEntries analyserAndExtensions = mandatory;
        analyserAndExtensions.analyserPersonality = QStringLiteral("a.p_a");
        analyserAndExtensions.extensionList = QStringLiteral("cpp,res");
        QTest::newRow("analyser and extensions")
            << analyserAndExtensions
            << QStringList{"C:\\keil\\demo.Uv2", "D:\\out", "-cp", "C:\\p\\cmp.p_c", "-pn", "demo",
                           "-ap", "a.p_a", "-ext", "cpp,res"};

        ConversionEntries withPack = mandatory;
        withPack.packFolder = QStringLiteral("/opt/packs");
        QTest::newRow("pack folder only")
            << withPack
            << QStringList{"C:\\keil\\demo.Uv2", "D:\\out", "-cp", "C:\\p\\cmp.p_c", "-pn", "demo",
                           "-pack", "/opt/packs"};

        QTest::newRow("everything")
            << fullEntries()
            << QStringList{"C:\\keil\\demo.Uv2", "D:\\out", "-cp", "C:\\p\\cmp.p_c", "-pn", "demo",
                           "-mp", "C:\\p\\msg.p_s", "-ap", "C:\\p\\base.p_a", "-ext", "c,h", "-pack", "C:\\Packs"};

        const ConversionEntries blanks{QStringLiteral("C:\\My Projects\\demo one.Uv2"), QStringLiteral(" D:\\out dir "),
                                       QStringLiteral("my demo"), QStringLiteral("C:\\p q\\m.p_s"), {},
                                       QStringLiteral("C:\\p q\\c.p_c"), {}, QStringLiteral(" C:\\My Packs ")};
        QTest::newRow("blanks stay inside their argument")
            << blanks
            << QStringList{"C:\\My Projects\\demo one.Uv2", " D:\\out dir ", "-cp", "C:\\p q\\c.p_c",
                           "-pn", "my demo", "-mp", "C:\\p q\\m.p_s", "-pack", " C:\\My Packs "};
    }

    void arguments()
    {
        QFETCH(ConversionEntries, entries);
        QFETCH(QStringList, expected);
        QCOMPARE(converterArguments(entries), expected);
    }
};

QTEST_GUILESS_MAIN(ConversionRequestTest)
#include "conversion_request_test.moc"
