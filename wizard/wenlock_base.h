// The wizard's form: four pages of widgets at fixed positions, their texts and the banner images.
#pragma once

#include "wenlock_page.h"

#include <QPixmap>
#include <QWizard>

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;

// Builds every widget under its object name and sets its texts; behaviour belongs to the subclass.
// Each widget is a public member named like its object name.
class WenlockBase : public QWizard {
    Q_OBJECT

public:
    explicit WenlockBase(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                         Qt::WindowFlags flags = {});
    ~WenlockBase() override;

    WenlockPage* Page0;
    QLabel* pixmapLabel3;
    QGroupBox* groupBox1_3;
    QLabel* textLabel2_2;
    QLabel* textLabel1_3_3;
    QGroupBox* groupBox1;
    QLabel* textLabel1_3;
    QPushButton* KeilUvProjectBrowseBtn;
    QLineEdit* KeilUvProjectEdit;
    QGroupBox* groupBox2;
    QLabel* textLabel1;
    QLabel* textLabel1_2;
    QPushButton* OstraProjectBrowseBtn;
    QLineEdit* OstraProjectEdit;
    QLineEdit* OstraNameEdit;
    QLabel* pixmapLabel3_3;
    QFrame* line1;
    QFrame* line1_2;

    WenlockPage* Page1;
    QGroupBox* groupBox1_2;
    QPushButton* MsgBrowseBtn;
    QLineEdit* MsgPersonEdit;
    QGroupBox* groupBox2_2_2;
    QPushButton* AnalBrowseBtn;
    QLineEdit* AnalPersonEdit;
    QGroupBox* groupBox2_2;
    QPushButton* CmpBrowseBtn;
    QLineEdit* CmpPersonEdit;
    QFrame* line1_2_2;
    QFrame* line1_3;
    QLabel* pixmapLabel3_2;
    QLabel* pixmapLabel3_3_2;
    QGroupBox* groupBox1_3_2;
    QLabel* textLabel2_2_2;
    QLabel* PackFolderLabel;
    QPushButton* PackBrowseBtn;
    QLineEdit* PackFolderEdit;

    WenlockPage* Page2;
    QGroupBox* groupBox1_3_2_2;
    QLabel* textLabel2_2_2_2;
    QGroupBox* groupBox7;
    QCheckBox* ccCheck;
    QCheckBox* cxxCheck;
    QCheckBox* cCheck;
    QLabel* textLabel2;
    QCheckBox* hCheck;
    QCheckBox* hhCheck;
    QCheckBox* hppCheck;
    QCheckBox* hxxCheck;
    QCheckBox* cppCheck;
    QLineEdit* CustExtEdit;
    QFrame* line1_3_2;
    QLabel* pixmapLabel3_2_2;
    QFrame* line1_2_2_2;
    QLabel* pixmapLabel3_3_2_2;

    WenlockPage* Page3;
    QLabel* pixmapLabel3_2_2_2;
    QLabel* pixmapLabel3_3_2_2_2;
    QFrame* line1_3_2_2;
    QFrame* line1_2_2_2_2;
    QTextBrowser* DetailsText;

protected slots:
    virtual void languageChange();

protected:
    void showEvent(QShowEvent* event) override;

    QPixmap image0; // header banner
    QPixmap image1; // footer strip

private:
    void buildPage0();
    void buildPage1();
    void buildPage2();
    void buildPage3();
    void addWenlockPage(WenlockPage* page);
    void updateHelpButton();
};
