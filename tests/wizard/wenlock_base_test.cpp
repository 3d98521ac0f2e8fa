// Tests of the form alone: every widget under its name and place, the texts, the banners and the frame.
#include "wenlock_base.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

class WenlockBaseTest : public QObject {
    Q_OBJECT

private slots:
    void widgets_data()
    {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("parentName");
        QTest::addColumn<QRect>("geometry");
        auto row = [](const char* name, const char* className, const char* parent, int x, int y, int w, int h) {
            QTest::newRow(name) << QString::fromLatin1(className) << QString::fromLatin1(parent) << QRect(x, y, w, h);
        };
        row("pixmapLabel3", "QLabel", "Page0", 0, 0, 532, 36);
        row("groupBox1_3", "QGroupBox", "Page0", 20, 40, 500, 140);
        row("textLabel2_2", "QLabel", "groupBox1_3", 10, 40, 481, 90);
        row("textLabel1_3_3", "QLabel", "groupBox1_3", 10, 10, 461, 21);
        row("groupBox1", "QGroupBox", "Page0", 20, 190, 500, 60);
        row("textLabel1_3", "QLabel", "groupBox1", 10, 20, 110, 20);
        row("KeilUvProjectBrowseBtn", "QPushButton", "groupBox1", 410, 20, 75, 25);
        row("KeilUvProjectEdit", "QLineEdit", "groupBox1", 120, 20, 280, 25);
        row("groupBox2", "QGroupBox", "Page0", 20, 260, 500, 87);
        row("textLabel1", "QLabel", "groupBox2", 10, 21, 40, 20);
        row("textLabel1_2", "QLabel", "groupBox2", 10, 56, 40, 20);
        row("OstraProjectBrowseBtn", "QPushButton", "groupBox2", 410, 20, 75, 25);
        row("OstraProjectEdit", "QLineEdit", "groupBox2", 120, 20, 280, 25);
        row("OstraNameEdit", "QLineEdit", "groupBox2", 120, 55, 280, 25);
        row("pixmapLabel3_3", "QLabel", "Page0", 0, 360, 532, 20);
        row("line1", "QFrame", "Page0", -8, 36, 20, 325);
        row("line1_2", "QFrame", "Page0", 521, 36, 20, 325);

        row("groupBox1_2", "QGroupBox", "Page1", 20, 150, 500, 60);
        row("MsgBrowseBtn", "QPushButton", "groupBox1_2", 420, 20, 75, 25);
        row("MsgPersonEdit", "QLineEdit", "groupBox1_2", 10, 20, 390, 25);
        row("groupBox2_2_2", "QGroupBox", "Page1", 20, 220, 500, 60);
        row("AnalBrowseBtn", "QPushButton", "groupBox2_2_2", 420, 20, 75, 25);
        row("AnalPersonEdit", "QLineEdit", "groupBox2_2_2", 10, 20, 390, 25);
        row("groupBox2_2", "QGroupBox", "Page1", 20, 290, 500, 60);
        row("CmpBrowseBtn", "QPushButton", "groupBox2_2", 420, 20, 75, 25);
        row("CmpPersonEdit", "QLineEdit", "groupBox2_2", 10, 20, 390, 25);
        row("line1_2_2", "QFrame", "Page1", 521, 36, 20, 324);
        row("line1_3", "QFrame", "Page1", -8, 36, 20, 324);
        row("pixmapLabel3_2", "QLabel", "Page1", 0, 0, 532, 36);
        row("pixmapLabel3_3_2", "QLabel", "Page1", 0, 360, 532, 20);
        row("groupBox1_3_2", "QGroupBox", "Page1", 20, 40, 500, 100);
        row("textLabel2_2_2", "QLabel", "groupBox1_3_2", 10, 10, 481, 84);

        row("groupBox1_3_2_2", "QGroupBox", "Page2", 20, 40, 500, 100);
        row("textLabel2_2_2_2", "QLabel", "groupBox1_3_2_2", 10, 14, 481, 70);
        row("groupBox7", "QGroupBox", "Page2", 60, 160, 420, 160);
        row("ccCheck", "QCheckBox", "groupBox7", 120, 35, 50, 20);
        row("cxxCheck", "QCheckBox", "groupBox7", 190, 35, 50, 20);
        row("cCheck", "QCheckBox", "groupBox7", 260, 35, 50, 20);
        row("textLabel2", "QLabel", "groupBox7", 50, 116, 100, 20);
        row("hCheck", "QCheckBox", "groupBox7", 40, 75, 50, 20);
        row("hhCheck", "QCheckBox", "groupBox7", 120, 75, 50, 20);
        row("hppCheck", "QCheckBox", "groupBox7", 190, 75, 50, 20);
        row("hxxCheck", "QCheckBox", "groupBox7", 260, 75, 50, 20);
        row("cppCheck", "QCheckBox", "groupBox7", 40, 35, 50, 20);
        row("CustExtEdit", "QLineEdit", "groupBox7", 160, 115, 144, 25);
        row("line1_3_2", "QFrame", "Page2", -8, 36, 20, 324);
        row("pixmapLabel3_2_2", "QLabel", "Page2", 0, 0, 532, 36);
        row("line1_2_2_2", "QFrame", "Page2", 521, 36, 20, 324);
        row("pixmapLabel3_3_2_2", "QLabel", "Page2", 0, 360, 532, 20);

        row("pixmapLabel3_2_2_2", "QLabel", "Page3", 0, 0, 532, 36);
        row("pixmapLabel3_3_2_2_2", "QLabel", "Page3", 0, 360, 532, 20);
        row("line1_3_2_2", "QFrame", "Page3", -8, 36, 20, 324);
        row("line1_2_2_2_2", "QFrame", "Page3", 521, 36, 20, 324);
        row("DetailsText", "QTextBrowser", "Page3", 15, 40, 505, 310);
    }

    void widgets()
    {
        QFETCH(QString, className);
        QFETCH(QString, parentName);
        QFETCH(QRect, geometry);
        WenlockBase form;
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        const QList<QWidget*> found = form.findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1);
        QWidget* widget = found.constFirst();
        QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
        QCOMPARE(widget->parentWidget()->objectName(), parentName);
        QCOMPARE(widget->geometry(), geometry);
        if (auto* line = qobject_cast<QFrame*>(widget); line && className == QLatin1String("QFrame")) {
            QCOMPARE(line->frameShape(), QFrame::VLine);
            QCOMPARE(line->frameShadow(), QFrame::Sunken);
        }
    }

    void pagesInOrderWithoutTitles()
    {
        WenlockBase form;
        QCOMPARE(form.pageIds(), (QList<int>{0, 1, 2, 3}));
        for (int id = 0; id < 4; ++id) {
            QCOMPARE(form.page(id)->objectName(), QStringLiteral("Page%1").arg(id));
            QVERIFY(form.page(id)->title().isEmpty());
            QVERIFY(form.page(id)->subTitle().isEmpty());
        }
    }

    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("textLabel1_3_3") << "Welcome to the Tolvane :: Wenlock";
        QTest::newRow("groupBox1") << "Keil Uv*";
        QTest::newRow("textLabel1_3") << "Project";
        QTest::newRow("KeilUvProjectBrowseBtn") << "Browse";
        QTest::newRow("groupBox2") << "Ostra / Ostra++ Project";
        QTest::newRow("textLabel1") << "Folder";
        QTest::newRow("textLabel1_2") << "Name";
        QTest::newRow("OstraProjectBrowseBtn") << "Browse";
        QTest::newRow("groupBox1_2") << "Message Personality";
        QTest::newRow("MsgBrowseBtn") << "Browse";
        QTest::newRow("groupBox2_2_2") << "Template Analyser Personality";
        QTest::newRow("AnalBrowseBtn") << "Browse";
        QTest::newRow("groupBox2_2") << "Compiler Personality";
        QTest::newRow("CmpBrowseBtn") << "Browse";
        QTest::newRow("groupBox7") << "File Extensions";
        QTest::newRow("cppCheck") << "*.cpp";
        QTest::newRow("ccCheck") << "*.cc";
        QTest::newRow("cxxCheck") << "*.cxx";
        QTest::newRow("cCheck") << "*.c";
        QTest::newRow("hCheck") << "*.h";
        QTest::newRow("hhCheck") << "*.hh";
        QTest::newRow("hppCheck") << "*.hpp";
        QTest::newRow("hxxCheck") << "*.hxx";
        QTest::newRow("textLabel2") << "Custom Extensions";
        QTest::newRow("groupBox1_3") << "";
        QTest::newRow("groupBox1_3_2") << "";
        QTest::newRow("groupBox1_3_2_2") << "";
        QTest::newRow("textLabel2_2")
            << "This wizard will take you through the steps required to convert your Keil Uv Project file to a "
               "Ostra/Ostra++ project. \n\nSelect the Keil Uv project (.prj) that you wish to convert.  \nYou also "
               "need to specify the folder into which the Ostra/Ostra++ project will be created.  \nThe "
               "Ostra/Ostra++ project will be named according to the name specified.";
        QTest::newRow("textLabel2_2_2_2")
            << "Specify which file extensions should be searched for in the Keil Uv Project.\nThese files will be "
               "added into the Ostra/Ostra++ project.  \n\nYou can add custom extensions as a comma seperated "
               "list of extensions e.g res,xml";
    }

    void texts()
    {
        QFETCH(QString, text);
        WenlockBase form;
        QObject* widget = form.findChild<QObject*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(widget);
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), text);
        else if (auto* box = qobject_cast<QGroupBox*>(widget))
            QCOMPARE(box->title(), text);
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            QCOMPARE(button->text(), text);
        else
            QFAIL("no text to compare");
    }

    void page1HelpNamesThreeStandards()
    {
        WenlockBase form;
        const QString text = form.textLabel2_2_2->text();
        const QString first = QStringLiteral(
            "Select the message personality and compiler personality (mandatory) to be used by the Ostra / "
            "Ostra++ \nproject.  \n\nSelect a template analyser personality to use e.g. ");
        const QString last = QStringLiteral(
            ".\n\nIf you do not select a message personality, an empty default personality will be used.");
        QVERIFY(text.startsWith(first));
        QVERIFY(text.endsWith(last));
        const QString standards = text.mid(first.size(), text.size() - first.size() - last.size());
        QCOMPARE(standards.split(QRegularExpression(QStringLiteral(", | or "))).size(), 3);
    }

    void toolTips_data()
    {
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("KeilUvProjectEdit") << "Path to the Keil .prj file.";
        QTest::newRow("OstraProjectEdit") << "Destination folder for the Ostra/Ostra++ project.";
        QTest::newRow("OstraNameEdit") << "Name of the Ostra/Ostra++ project.";
        QTest::newRow("MsgPersonEdit") << "Path to the message personality to use for the project.";
        QTest::newRow("AnalPersonEdit") << "";
        QTest::newRow("CmpPersonEdit") << "Path to the compiler personality to use for the project.";
        QTest::newRow("CustExtEdit") << "Custom extensions list to add files of this type to the project.";
    }

    void toolTips()
    {
        QFETCH(QString, toolTip);
        WenlockBase form;
        auto* edit = form.findChild<QLineEdit*>(QString::fromLatin1(QTest::currentDataTag()));
        QVERIFY(edit);
        QCOMPARE(edit->toolTip(), toolTip);
        QVERIFY(edit->text().isEmpty());
        QVERIFY(edit->inputMask().isEmpty());
    }

    void checkBoxesStartUnchecked()
    {
        WenlockBase form;
        const QList<QCheckBox*> boxes = form.groupBox7->findChildren<QCheckBox*>();
        QCOMPARE(boxes.size(), 8);
        for (QCheckBox* box : boxes)
            QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
    }

    void browseButtonsAreWhiteAndNotToggles()
    {
        WenlockBase form;
        for (QPushButton* button : {form.KeilUvProjectBrowseBtn, form.OstraProjectBrowseBtn, form.MsgBrowseBtn,
                                    form.AnalBrowseBtn, form.CmpBrowseBtn}) {
            QVERIFY(!button->isCheckable());
            QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
        }
    }

    void welcomeIsTwelvePoints()
    {
        WenlockBase form;
        QCOMPARE(form.textLabel1_3_3->font().pointSize(), 12);
        QVERIFY(form.textLabel2_2->wordWrap());
        QVERIFY(form.textLabel2_2->alignment() & Qt::AlignVCenter);
    }

    void banners_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<int>("greys");
        QTest::addColumn<int>("darkestAtMost");
        QTest::newRow("header") << "pixmapLabel3" << QSize(532, 36) << 80 << 0x60;
        QTest::newRow("footer") << "pixmapLabel3_3_2_2_2" << QSize(532, 19) << 77 << 0x20;
    }

    void banners()
    {
        QFETCH(QString, label);
        QFETCH(QSize, imageSize);
        QFETCH(int, greys);
        QFETCH(int, darkestAtMost);
        WenlockBase form;
        const QLabel* banner = form.findChild<QLabel*>(label);
        QVERIFY(banner && banner->hasScaledContents());
        const QImage image = banner->pixmap().toImage();
        QCOMPARE(image.size(), imageSize);

        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y) & 0xffffff);
        }
        QCOMPARE(colours.size(), greys);
        int darkest = 255;
        int lightest = 0;
        for (QRgb colour : colours) {
            QVERIFY(qRed(colour) == qGreen(colour) && qGreen(colour) == qBlue(colour));
            darkest = qMin(darkest, qRed(colour));
            lightest = qMax(lightest, qRed(colour));
        }
        QCOMPARE(lightest, 255);
        QVERIFY(darkest <= darkestAtMost);
    }

    void windowsIconMatchesTheWindowIcon()
    {
        WenlockBase form;
        const QImage icon = form.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage ico =
            QImage(QStringLiteral(WENLOCK_SOURCE "/images/wenlock.ico")).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(ico.size(), QSize(32, 32));
        QSet<QRgb> colours;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb want = icon.pixel(x, y);
                const QRgb got = ico.pixel(x, y);
                QCOMPARE(qAlpha(got), qAlpha(want));
                if (qAlpha(want) != 0)
                    QCOMPARE(got, want);
                colours.insert(qAlpha(want) ? want : 0);
            }
        }
        QCOMPARE(colours.size(), 16);
    }

    void frame()
    {
        WenlockBase form;
        QCOMPARE(form.objectName(), QStringLiteral("WenlockBase"));
        QCOMPARE(WenlockBase(nullptr, "named").objectName(), QStringLiteral("named"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Wenlock 1.2"));
        QCOMPARE(form.size(), QSize(543, 456).expandedTo(form.minimumSizeHint()));
        QCOMPARE(form.palette().color(QPalette::Window), QColor(255, 255, 255));
        QCOMPARE(form.windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
        for (QWizard::WizardButton which :
             {QWizard::BackButton, QWizard::NextButton, QWizard::FinishButton, QWizard::CancelButton,
              QWizard::HelpButton})
            QVERIFY(form.button(which));
    }
};

QTEST_MAIN(WenlockBaseTest)
#include "wenlock_base_test.moc"
