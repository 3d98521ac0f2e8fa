// The wizard's form: four pages of widgets at fixed positions, their texts and the banner images.
#include "wenlock_base.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>

#include "images/footer_banner.xpm"
#include "images/header_banner.xpm"
#include "images/wenlock_icon.xpm"

namespace {

// Every page is as wide as its banners and ends with the footer strip. The heights leave each help text
// room for a line more than it takes at the platform's default font (DejaVu Sans, Segoe UI), at any scale.
constexpr int pageWidth = 532;
constexpr int footerTop = 420;
constexpr int footerHeight = 20;
constexpr int lineHeight = footerTop - 36; // the frame lines run from the header down to the footer

template <typename Widget>
Widget* place(Widget* widget, const char* name, int x, int y, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, width, height);
    return widget;
}

QLabel* banner(QWidget* page, const char* name, const QPixmap& image, int y, int height)
{
    QLabel* label = place(new QLabel(page), name, 0, y, pageWidth, height);
    label->setPixmap(image);
    label->setScaledContents(true);
    return label;
}

QFrame* verticalLine(QWidget* page, const char* name, int x, int height)
{
    QFrame* line = place(new QFrame(page), name, x, 36, 20, height);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// The explanation panels at the top of pages 0 to 2 have no title.
QGroupBox* panel(QWidget* page, const char* name, int height)
{
    return place(new QGroupBox(page), name, 20, 40, 500, height);
}

QGroupBox* titledBox(QWidget* page, const char* name, int x, int y, int width, int height)
{
    QGroupBox* box = place(new QGroupBox(page), name, x, y, width, height);
    box->setFlat(false);
    box->setCheckable(false);
    return box;
}

QLabel* helpText(QWidget* parent, const char* name, int x, int y, int width, int height)
{
    QLabel* label = place(new QLabel(parent), name, x, y, width, height);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

// Inside a group box, below its title; the pack folder's button sits on the page itself.
QPushButton* browseButton(QWidget* parent, const char* name, int x, int y = 20)
{
    QPushButton* button = place(new QPushButton(parent), name, x, y, 75, 25);
    QPalette palette = button->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::Button, Qt::white);
    button->setPalette(palette);
    button->setCheckable(false);
    return button;
}

QLineEdit* pathEdit(QWidget* parent, const char* name, int x, int y, int width, int height)
{
    QLineEdit* edit = place(new QLineEdit(parent), name, x, y, width, height);
    edit->setFrame(true);
    return edit;
}

QCheckBox* extensionCheck(QWidget* parent, const char* name, int x, int y)
{
    QCheckBox* check = place(new QCheckBox(parent), name, x, y, 65, 20);
    check->setChecked(false);
    return check;
}

} // namespace

WenlockBase::WenlockBase(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : QWizard(parent, flags)
    , image0(header_banner_xpm)
    , image1(footer_banner_xpm)
{
    setModal(modal);
    setObjectName(name ? QLatin1String(name) : QLatin1String("WenlockBase"));
    setWindowIcon(QPixmap(wenlock_icon_xpm));

    QPalette white = palette();
    white.setColor(QPalette::Window, QColor(255, 255, 255));
    setPalette(white);

    // Next gives way to Finish on the last page; Help stays in view, enabled only where its page says so.
    setWizardStyle(QWizard::ClassicStyle);
    setButtonLayout({QWizard::Stretch, QWizard::BackButton, QWizard::NextButton, QWizard::FinishButton,
                     QWizard::CancelButton, QWizard::HelpButton});
    connect(this, &QWizard::currentIdChanged, this, &WenlockBase::updateHelpButton);

    buildPage0();
    buildPage1();
    buildPage2();
    buildPage3();
    languageChange();

    // The wizard's minimum size holds its page whole only when the first page is in place before the
    // Help button is added; the window then opens large enough for every page.
    restart();
    setOption(QWizard::HaveHelpButton, true);
    resize(QSize(543, 456).expandedTo(minimumSize()));
}

WenlockBase::~WenlockBase() = default;

void WenlockBase::showEvent(QShowEvent* event)
{
    QWizard::showEvent(event);
    // On Windows the wizard's layout reports a minimum that cuts the page, and knows the page's
    // whole size only once the window is polished: the window opens no smaller than that.
    const QSize whole = sizeHint();
    if (width() < whole.width() || height() < whole.height())
        resize(size().expandedTo(whole));
}

void WenlockBase::addWenlockPage(WenlockPage* page)
{
    // The wizard opens large enough to show the page whole, banners and frame lines included.
    page->setMinimumSize(pageWidth, footerTop + footerHeight);
    connect(page, &WenlockPage::helpEnabledChanged, this, &WenlockBase::updateHelpButton);
    addPage(page);
}

void WenlockBase::updateHelpButton()
{
    const auto* page = qobject_cast<const WenlockPage*>(currentPage());
    button(QWizard::HelpButton)->setEnabled(page && page->helpEnabled());
}

void WenlockBase::buildPage0()
{
    Page0 = new WenlockPage(this);
    Page0->setObjectName(QStringLiteral("Page0"));

    pixmapLabel3 = banner(Page0, "pixmapLabel3", image0, 0, 36);

    groupBox1_3 = panel(Page0, "groupBox1_3", 200);
    textLabel2_2 = helpText(groupBox1_3, "textLabel2_2", 10, 44, 481, 146);
    textLabel1_3_3 = place(new QLabel(groupBox1_3), "textLabel1_3_3", 10, 10, 461, 28);
    QFont welcomeFont = textLabel1_3_3->font();
    welcomeFont.setPointSize(12);
    textLabel1_3_3->setFont(welcomeFont);

    groupBox1 = titledBox(Page0, "groupBox1", 20, 250, 500, 60);
    textLabel1_3 = place(new QLabel(groupBox1), "textLabel1_3", 10, 20, 110, 20);
    KeilUvProjectBrowseBtn = browseButton(groupBox1, "KeilUvProjectBrowseBtn", 410);
    KeilUvProjectEdit = pathEdit(groupBox1, "KeilUvProjectEdit", 120, 20, 280, 25);

    groupBox2 = titledBox(Page0, "groupBox2", 20, 320, 500, 87);
    textLabel1 = place(new QLabel(groupBox2), "textLabel1", 10, 21, 100, 20);
    textLabel1_2 = place(new QLabel(groupBox2), "textLabel1_2", 10, 56, 100, 20);
    OstraProjectBrowseBtn = browseButton(groupBox2, "OstraProjectBrowseBtn", 410);
    OstraProjectEdit = pathEdit(groupBox2, "OstraProjectEdit", 120, 20, 280, 25);
    OstraNameEdit = place(new QLineEdit(groupBox2), "OstraNameEdit", 120, 55, 280, 25);

    pixmapLabel3_3 = banner(Page0, "pixmapLabel3_3", image1, footerTop, footerHeight);
    // Page 0's lines reach one pixel into the footer, as they always have.
    line1 = verticalLine(Page0, "line1", -8, lineHeight + 1);
    line1_2 = verticalLine(Page0, "line1_2", 521, lineHeight + 1);

    addWenlockPage(Page0);
}

void WenlockBase::buildPage1()
{
    Page1 = new WenlockPage(this);
    Page1->setObjectName(QStringLiteral("Page1"));

    // The three personality boxes sit closer than the other pages' boxes to leave a row for the pack folder.
    groupBox1_2 = titledBox(Page1, "groupBox1_2", 20, 198, 500, 55);
    MsgBrowseBtn = browseButton(groupBox1_2, "MsgBrowseBtn", 420);
    MsgPersonEdit = place(new QLineEdit(groupBox1_2), "MsgPersonEdit", 10, 20, 390, 25);

    groupBox2_2_2 = titledBox(Page1, "groupBox2_2_2", 20, 261, 500, 55);
    AnalBrowseBtn = browseButton(groupBox2_2_2, "AnalBrowseBtn", 420);
    AnalPersonEdit = place(new QLineEdit(groupBox2_2_2), "AnalPersonEdit", 10, 20, 390, 25);

    groupBox2_2 = titledBox(Page1, "groupBox2_2", 20, 324, 500, 55);
    CmpBrowseBtn = browseButton(groupBox2_2, "CmpBrowseBtn", 420);
    CmpPersonEdit = place(new QLineEdit(groupBox2_2), "CmpPersonEdit", 10, 20, 390, 25);

    // The pack folder is a row of its own below the boxes; its field and Browse button line up with theirs.
    PackFolderLabel = place(new QLabel(Page1), "PackFolderLabel", 30, 390, 95, 20);
    PackBrowseBtn = browseButton(Page1, "PackBrowseBtn", 440, 387);
    PackFolderEdit = pathEdit(Page1, "PackFolderEdit", 130, 387, 290, 25);

    line1_2_2 = verticalLine(Page1, "line1_2_2", 521, lineHeight);
    line1_3 = verticalLine(Page1, "line1_3", -8, lineHeight);
    pixmapLabel3_2 = banner(Page1, "pixmapLabel3_2", image0, 0, 36);
    pixmapLabel3_3_2 = banner(Page1, "pixmapLabel3_3_2", image1, footerTop, footerHeight);

    groupBox1_3_2 = panel(Page1, "groupBox1_3_2", 150);
    textLabel2_2_2 = helpText(groupBox1_3_2, "textLabel2_2_2", 10, 10, 481, 134);

    addWenlockPage(Page1);
}

void WenlockBase::buildPage2()
{
    Page2 = new WenlockPage(this);
    Page2->setObjectName(QStringLiteral("Page2"));

    groupBox1_3_2_2 = panel(Page2, "groupBox1_3_2_2", 125);
    textLabel2_2_2_2 = helpText(groupBox1_3_2_2, "textLabel2_2_2_2", 10, 10, 481, 105);

    groupBox7 = titledBox(Page2, "groupBox7", 60, 210, 420, 160);
    ccCheck = extensionCheck(groupBox7, "ccCheck", 120, 35);
    cxxCheck = extensionCheck(groupBox7, "cxxCheck", 190, 35);
    cCheck = extensionCheck(groupBox7, "cCheck", 260, 35);
    textLabel2 = place(new QLabel(groupBox7), "textLabel2", 30, 116, 146, 20);
    hCheck = extensionCheck(groupBox7, "hCheck", 40, 75);
    hhCheck = extensionCheck(groupBox7, "hhCheck", 120, 75);
    hppCheck = extensionCheck(groupBox7, "hppCheck", 190, 75);
    hxxCheck = extensionCheck(groupBox7, "hxxCheck", 260, 75);
    cppCheck = extensionCheck(groupBox7, "cppCheck", 40, 35);
    CustExtEdit = place(new QLineEdit(groupBox7), "CustExtEdit", 180, 115, 144, 25);

    line1_3_2 = verticalLine(Page2, "line1_3_2", -8, lineHeight);
    pixmapLabel3_2_2 = banner(Page2, "pixmapLabel3_2_2", image0, 0, 36);
    line1_2_2_2 = verticalLine(Page2, "line1_2_2_2", 521, lineHeight);
    pixmapLabel3_3_2_2 = banner(Page2, "pixmapLabel3_3_2_2", image1, footerTop, footerHeight);

    addWenlockPage(Page2);
}

void WenlockBase::buildPage3()
{
    Page3 = new WenlockPage(this);
    Page3->setObjectName(QStringLiteral("Page3"));

    pixmapLabel3_2_2_2 = banner(Page3, "pixmapLabel3_2_2_2", image0, 0, 36);
    pixmapLabel3_3_2_2_2 = banner(Page3, "pixmapLabel3_3_2_2_2", image1, footerTop, footerHeight);
    line1_3_2_2 = verticalLine(Page3, "line1_3_2_2", -8, lineHeight);
    line1_2_2_2_2 = verticalLine(Page3, "line1_2_2_2_2", 521, lineHeight);
    DetailsText = place(new QTextBrowser(Page3), "DetailsText", 15, 40, 505, footerTop - 50);
    DetailsText->setReadOnly(true);

    addWenlockPage(Page3);
}

void WenlockBase::languageChange()
{
    setWindowTitle(tr("Wenlock 1.2"));
    for (WenlockPage* page : {Page0, Page1, Page2, Page3})
        page->setTitle(QString());
    for (QGroupBox* box : {groupBox1_3, groupBox1_3_2, groupBox1_3_2_2})
        box->setTitle(QString());

    textLabel2_2->setText(tr(
        "This wizard will take you through the steps required to convert your Keil Uv Project file to a "
        "Ostra/Ostra++ project. \n\nSelect the Keil Uv project (.prj) that you wish to convert.  \nYou also "
        "need to specify the folder into which the Ostra/Ostra++ project will be created.  \nThe Ostra/Ostra++ "
        "project will be named according to the name specified."));
    textLabel1_3_3->setText(tr("Welcome to the Tolvane :: Wenlock"));
    groupBox1->setTitle(tr("Keil Uv*"));
    textLabel1_3->setText(tr("Project"));
    KeilUvProjectBrowseBtn->setText(tr("Browse"));
    KeilUvProjectEdit->setToolTip(tr("Path to the Keil .prj file."));
    groupBox2->setTitle(tr("Ostra / Ostra++ Project"));
    textLabel1->setText(tr("Folder"));
    textLabel1_2->setText(tr("Name"));
    OstraProjectBrowseBtn->setText(tr("Browse"));
    OstraProjectEdit->setToolTip(tr("Destination folder for the Ostra/Ostra++ project."));
    OstraNameEdit->setToolTip(tr("Name of the Ostra/Ostra++ project."));

    groupBox1_2->setTitle(tr("Message Personality"));
    MsgBrowseBtn->setText(tr("Browse"));
    MsgPersonEdit->setToolTip(tr("Path to the message personality to use for the project."));
    groupBox2_2_2->setTitle(tr("Template Analyser Personality"));
    AnalBrowseBtn->setText(tr("Browse"));
    groupBox2_2->setTitle(tr("Compiler Personality"));
    CmpBrowseBtn->setText(tr("Browse"));
    CmpPersonEdit->setToolTip(tr("Path to the compiler personality to use for the project."));
    PackFolderLabel->setText(tr("Pack folder"));
    PackBrowseBtn->setText(tr("Browse"));
    PackFolderEdit->setToolTip(tr("Root folder of the installed software packs, for the device and component "
                                  "settings of XML projects (optional)."));
    textLabel2_2_2->setText(tr(
        "Select the message personality and compiler personality (mandatory) to be used by the Ostra / "
        "Ostra++ \nproject.  \n\n"
        "Select a template analyser personality to use e.g. MISRA C:2012, CERT C or JSF AV C++."
        "\n\nIf you do not select a message personality, an empty default personality will be used."));

    textLabel2_2_2_2->setText(tr(
        "Specify which file extensions should be searched for in the Keil Uv Project.\nThese files will be "
        "added into the Ostra/Ostra++ project.  \n\nYou can add custom extensions as a comma seperated list of "
        "extensions e.g res,xml"));
    groupBox7->setTitle(tr("File Extensions"));
    ccCheck->setText(tr("*.cc"));
    cxxCheck->setText(tr("*.cxx"));
    cCheck->setText(tr("*.c"));
    textLabel2->setText(tr("Custom Extensions"));
    hCheck->setText(tr("*.h"));
    hhCheck->setText(tr("*.hh"));
    hppCheck->setText(tr("*.hpp"));
    hxxCheck->setText(tr("*.hxx"));
    cppCheck->setText(tr("*.cpp"));
    CustExtEdit->setInputMask(QString());
    CustExtEdit->setToolTip(tr("Custom extensions list to add files of this type to the project."));
}
