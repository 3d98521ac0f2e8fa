// One page of the wizard: a widget area at fixed positions whose Next, Finish and Help states are set per page.
#pragma once

#include <QWizardPage>

// The wizard frame takes a page's Next state, or its Finish state on the last page, from isComplete().
class WenlockPage : public QWizardPage {
    Q_OBJECT

public:
    explicit WenlockPage(QWidget* parent = nullptr);

    bool nextEnabled() const { return next; }
    bool finishEnabled() const { return finish; }
    bool helpEnabled() const { return help; }
    void setNextEnabled(bool enabled);
    void setFinishEnabled(bool enabled);
    void setHelpEnabled(bool enabled);

    bool isComplete() const override;

signals:
    void helpEnabledChanged();

private:
    bool next = true;
    bool finish = false;
    bool help = true;
};
