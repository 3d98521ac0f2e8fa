// Tests of the form alone: every widget under its name and place, the texts, the banners and the frame.
#include "wenlock_base.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>
#include <QTest>
#include <QTextBrowser>

#include <optional>

namespace {

QString sizeText(const QSize& size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QRect inWindow(const QWidget* widget, const QRect& rect)
{
    return rect.translated(widget->mapTo(widget->window(), QPoint(0, 0)));
}

// The part of the window through which a widget shows: its rectangle cut by every ancestor's.
QRect visibleArea(const QWidget* widget)
{
    QRect area = inWindow(widget, widget->rect());
    for (const QWidget* ancestor = widget->parentWidget(); ancestor; ancestor = ancestor->parentWidget())
        area &= inWindow(ancestor, ancestor->rect());
    return area;
}

// Where a widget draws its text (its own coordinates), the room it has there and the room the text needs.
struct TextPlace {
    QString text;
    QRect room;
    QSize need;
    QRect drawn;
};

TextPlace labelPlace(const QLabel* label)
{
    const QFontMetrics metrics = label->fontMetrics();
    const Qt::Alignment alignment = label->alignment();
    const int margin = label->margin();
    QRect room = label->contentsRect().marginsRemoved(QMargins(margin, margin, margin, margin));
    // A label's indent applies to the edge its text is aligned to; an indent of -1 is half an "x" in a frame.
    const int indent = label->indent() >= 0 ? label->indent()
        : label->frameWidth() > 0           ? metrics.horizontalAdvance(QLatin1Char('x')) / 2
                                            : 0;
    room.adjust(alignment & Qt::AlignLeft ? indent : 0, alignment & Qt::AlignTop ? indent : 0,
                alignment & Qt::AlignRight ? -indent : 0, alignment & Qt::AlignBottom ? -indent : 0);
    const QSize need = label->wordWrap()
        ? metrics.boundingRect(QRect(0, 0, room.width(), QWIDGETSIZE_MAX), Qt::TextWordWrap | alignment, label->text())
              .size()
        : metrics.size(0, label->text());
    return {label->text(), room, need, QStyle::alignedRect(label->layoutDirection(), alignment, need, room)};
}

TextPlace buttonPlace(const QAbstractButton* button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const bool check = qobject_cast<const QCheckBox*>(button);
    if (auto* push = qobject_cast<const QPushButton*>(button)) {
        if (push->autoDefault())
            option.features |= QStyleOptionButton::AutoDefaultButton;
        if (push->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
    }
    // The style draws a check box's text beside its indicator, a push button's inside its bevel.
    const QRect room = button->style()->subElementRect(
        check ? QStyle::SE_CheckBoxContents : QStyle::SE_PushButtonContents, &option, button);
    const QSize need = button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    const Qt::Alignment alignment = check ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter;
    return {button->text(), room, need, QStyle::alignedRect(button->layoutDirection(), alignment, need, room)};
}

TextPlace titlePlace(const QGroupBox* box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    // The style makes the title's rectangle as large as its text; the title has the box's width above its contents.
    const QRect drawn = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    const QSize need = box->fontMetrics().size(Qt::TextShowMnemonic, box->title());
    return {box->title(), box->rect(), need, drawn};
}

std::optional<TextPlace> textPlace(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget); label && !label->text().isEmpty())
        return labelPlace(label);
    if (auto* button = qobject_cast<const QAbstractButton*>(widget); button && !button->text().isEmpty())
        return buttonPlace(button);
    if (auto* box = qobject_cast<const QGroupBox*>(widget); box && !box->title().isEmpty())
        return titlePlace(box);
    return std::nullopt;
}

// Other widgets of the page drawn where the text is: its siblings, its ancestors' siblings up to the
// page, and for a group-box title the box's own children.
QStringList coveringWidgets(const QWidget* widget, const QRect& drawn, const QWidget* page)
{
    QStringList covering;
    auto collide = [&](const QWidget* parent, const QRect& area, const QWidget* skip) {
        for (const QWidget* other : parent->findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != skip && other->isVisible() && other->geometry().intersects(area))
                covering << other->objectName();
        }
    };
    if (qobject_cast<const QGroupBox*>(widget))
        collide(widget, drawn, nullptr);
    for (const QWidget* level = widget; level != page; level = level->parentWidget()) {
        const QWidget* parent = level->parentWidget();
        collide(parent, drawn.translated(widget->mapTo(parent, QPoint(0, 0))), level);
    }
    return covering;
}

// Every reason why a text of the page is not shown whole, each naming its widget.
QStringList textProblems(const QWidget* page)
{
    QStringList problems;
    for (const QWidget* widget : page->findChildren<const QWidget*>()) {
        const std::optional<TextPlace> place = textPlace(widget);
        if (!place || !widget->isVisible())
            continue;
        const QString name = QStringLiteral("%1 (\"%2\")").arg(widget->objectName(), place->text.left(30));
        if (place->need.width() > place->room.width() || place->need.height() > place->room.height())
            problems << QStringLiteral("%1 needs %2, has %3")
                            .arg(name, sizeText(place->need), sizeText(place->room.size()));
        if (!visibleArea(widget).contains(inWindow(widget, place->drawn)))
            problems << QStringLiteral("%1 is cut off by its parent or the window").arg(name);
        const QStringList covering = coveringWidgets(widget, place->drawn, page);
        if (!covering.isEmpty())
            problems << QStringLiteral("%1 is covered by %2").arg(name, covering.join(QStringLiteral(", ")));
    }
    return problems;
}

// The pixels of a banner, or the middle of a frame line, that are not shown.
QStringList hiddenDecorations(const QWidget* page)
{
    QStringList hidden;
    for (const QWidget* widget : page->findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
        QRect drawn;
        if (auto* label = qobject_cast<const QLabel*>(widget); label && !label->pixmap().isNull())
            drawn = label->rect();
        else if (auto* line = qobject_cast<const QFrame*>(widget); line && line->frameShape() == QFrame::VLine)
            drawn = QRect(line->width() / 2 - 1, 0, 2, line->height()); // a sunken line is drawn in the middle
        else
            continue;
        const QRect shown = visibleArea(widget) & inWindow(widget, drawn);
        if (shown.size() != drawn.size())
            hidden << QStringLiteral("%1 shows %2 of %3")
                          .arg(widget->objectName(), sizeText(shown.size()), sizeText(drawn.size()));
    }
    return hidden;
}

// Every control (field, button, box, text) that is cut off, reaches into a banner, or lies on another control
// of its parent. Banners and frame lines are decorations: hiddenDecorations() checks them.
QStringList misplacedControls(const QWidget* page)
{
    auto isControl = [](const QWidget* widget) {
        const QString name = widget->objectName();
        if (!widget->isVisible() || name.isEmpty() || name.startsWith(QLatin1String("qt_")))
            return false;
        if (auto* label = qobject_cast<const QLabel*>(widget))
            return label->pixmap().isNull();
        return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractButton*>(widget)
            || qobject_cast<const QGroupBox*>(widget) || qobject_cast<const QTextBrowser*>(widget);
    };
    // The band between the header banner at the top of the page and the footer strip below.
    int headerBottom = 0;
    int footerTop = page->height();
    for (const QLabel* banner : page->findChildren<const QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (banner->pixmap().isNull())
            continue;
        if (banner->y() == 0)
            headerBottom = qMax(headerBottom, banner->geometry().bottom() + 1);
        else
            footerTop = qMin(footerTop, banner->y());
    }
    const QRect band(0, headerBottom, page->width(), footerTop - headerBottom);
    QStringList problems;
    for (const QWidget* widget : page->findChildren<const QWidget*>()) {
        if (!isControl(widget))
            continue;
        const QRect onPage = widget->rect().translated(widget->mapTo(page, QPoint(0, 0)));
        if (!visibleArea(widget).contains(inWindow(widget, widget->rect())))
            problems << QStringLiteral("%1 is cut off by its parent or the window").arg(widget->objectName());
        if (!band.contains(onPage))
            problems << QStringLiteral("%1 reaches into a banner").arg(widget->objectName());
        for (const QWidget* other : widget->parentWidget()->findChildren<const QWidget*>(Qt::FindDirectChildrenOnly)) {
            // Each pair once.
            if (other->objectName() > widget->objectName() && isControl(other)
                && other->geometry().intersects(widget->geometry()))
                problems << QStringLiteral("%1 lies on %2").arg(widget->objectName(), other->objectName());
        }
    }
    return problems;
}

} // namespace

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
        row("groupBox1_3", "QGroupBox", "Page0", 20, 40, 500, 200);
        row("textLabel2_2", "QLabel", "groupBox1_3", 10, 44, 481, 146);
        row("textLabel1_3_3", "QLabel", "groupBox1_3", 10, 10, 461, 28);
        row("groupBox1", "QGroupBox", "Page0", 20, 250, 500, 60);
        row("textLabel1_3", "QLabel", "groupBox1", 10, 20, 110, 20);
        row("KeilUvProjectBrowseBtn", "QPushButton", "groupBox1", 410, 20, 75, 25);
        row("KeilUvProjectEdit", "QLineEdit", "groupBox1", 120, 20, 280, 25);
        row("groupBox2", "QGroupBox", "Page0", 20, 320, 500, 87);
        row("textLabel1", "QLabel", "groupBox2", 10, 21, 100, 20);
        row("textLabel1_2", "QLabel", "groupBox2", 10, 56, 100, 20);
        row("OstraProjectBrowseBtn", "QPushButton", "groupBox2", 410, 20, 75, 25);
        row("OstraProjectEdit", "QLineEdit", "groupBox2", 120, 20, 280, 25);
        row("OstraNameEdit", "QLineEdit", "groupBox2", 120, 55, 280, 25);
        row("pixmapLabel3_3", "QLabel", "Page0", 0, 420, 532, 20);
        row("line1", "QFrame", "Page0", -8, 36, 20, 385);
        row("line1_2", "QFrame", "Page0", 521, 36, 20, 385);

        row("groupBox1_2", "QGroupBox", "Page1", 20, 198, 500, 55);
        row("MsgBrowseBtn", "QPushButton", "groupBox1_2", 420, 20, 75, 25);
        row("MsgPersonEdit", "QLineEdit", "groupBox1_2", 10, 20, 390, 25);
        row("groupBox2_2_2", "QGroupBox", "Page1", 20, 261, 500, 55);
        row("AnalBrowseBtn", "QPushButton", "groupBox2_2_2", 420, 20, 75, 25);
        row("AnalPersonEdit", "QLineEdit", "groupBox2_2_2", 10, 20, 390, 25);
        row("groupBox2_2", "QGroupBox", "Page1", 20, 324, 500, 55);
        row("CmpBrowseBtn", "QPushButton", "groupBox2_2", 420, 20, 75, 25);
        row("CmpPersonEdit", "QLineEdit", "groupBox2_2", 10, 20, 390, 25);
        row("PackFolderLabel", "QLabel", "Page1", 30, 390, 95, 20);
        row("PackBrowseBtn", "QPushButton", "Page1", 440, 387, 75, 25);
        row("PackFolderEdit", "QLineEdit", "Page1", 130, 387, 290, 25);
        row("line1_2_2", "QFrame", "Page1", 521, 36, 20, 384);
        row("line1_3", "QFrame", "Page1", -8, 36, 20, 384);
        row("pixmapLabel3_2", "QLabel", "Page1", 0, 0, 532, 36);
        row("pixmapLabel3_3_2", "QLabel", "Page1", 0, 420, 532, 20);
        row("groupBox1_3_2", "QGroupBox", "Page1", 20, 40, 500, 150);
        row("textLabel2_2_2", "QLabel", "groupBox1_3_2", 10, 10, 481, 134);

        row("groupBox1_3_2_2", "QGroupBox", "Page2", 20, 40, 500, 125);
        row("textLabel2_2_2_2", "QLabel", "groupBox1_3_2_2", 10, 10, 481, 105);
        row("groupBox7", "QGroupBox", "Page2", 60, 210, 420, 160);
        row("ccCheck", "QCheckBox", "groupBox7", 120, 35, 65, 20);
        row("cxxCheck", "QCheckBox", "groupBox7", 190, 35, 65, 20);
        row("cCheck", "QCheckBox", "groupBox7", 260, 35, 65, 20);
        row("textLabel2", "QLabel", "groupBox7", 30, 116, 146, 20);
        row("hCheck", "QCheckBox", "groupBox7", 40, 75, 65, 20);
        row("hhCheck", "QCheckBox", "groupBox7", 120, 75, 65, 20);
        row("hppCheck", "QCheckBox", "groupBox7", 190, 75, 65, 20);
        row("hxxCheck", "QCheckBox", "groupBox7", 260, 75, 65, 20);
        row("cppCheck", "QCheckBox", "groupBox7", 40, 35, 65, 20);
        row("CustExtEdit", "QLineEdit", "groupBox7", 180, 115, 144, 25);
        row("line1_3_2", "QFrame", "Page2", -8, 36, 20, 384);
        row("pixmapLabel3_2_2", "QLabel", "Page2", 0, 0, 532, 36);
        row("line1_2_2_2", "QFrame", "Page2", 521, 36, 20, 384);
        row("pixmapLabel3_3_2_2", "QLabel", "Page2", 0, 420, 532, 20);

        row("pixmapLabel3_2_2_2", "QLabel", "Page3", 0, 0, 532, 36);
        row("pixmapLabel3_3_2_2_2", "QLabel", "Page3", 0, 420, 532, 20);
        row("line1_3_2_2", "QFrame", "Page3", -8, 36, 20, 384);
        row("line1_2_2_2_2", "QFrame", "Page3", 521, 36, 20, 384);
        row("DetailsText", "QTextBrowser", "Page3", 15, 40, 505, 370);
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
        QTest::newRow("PackFolderLabel") << "Pack folder";
        QTest::newRow("PackBrowseBtn") << "Browse";
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
        QTest::newRow("PackFolderEdit") << "Root folder of the installed software packs, for the device and "
                                           "component settings of XML projects (optional).";
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
                                    form.AnalBrowseBtn, form.CmpBrowseBtn, form.PackBrowseBtn}) {
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

    // Every text of every page shows whole at the platform's font, and so do the banners and the frame lines;
    // every control shows whole between the banners, clear of the others.
    void everythingShowsWhole()
    {
        WenlockBase form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QStringList problems;
        for (int id : form.pageIds()) {
            while (form.currentId() != id)
                form.next();
            const QWidget* page = form.currentPage();
            for (const QString& problem : textProblems(page) + hiddenDecorations(page) + misplacedControls(page))
                problems << page->objectName() + QLatin1Char('/') + problem;
        }
        for (const QString& problem : std::as_const(problems))
            qWarning().noquote() << problem;
        QVERIFY2(problems.isEmpty(),
                 "a text, banner, frame line or control is not shown whole: see the warnings above");
    }

    void frame()
    {
        WenlockBase form;
        QCOMPARE(form.objectName(), QStringLiteral("WenlockBase"));
        QCOMPARE(WenlockBase(nullptr, "named").objectName(), QStringLiteral("named"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Wenlock 1.2"));
        QCOMPARE(form.size(), QSize(543, 456).expandedTo(form.minimumSize()));
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
