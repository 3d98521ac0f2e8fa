// One page of the wizard: a widget area at fixed positions whose Next, Finish and Help states are set per page.
#include "wenlock_page.h"

WenlockPage::WenlockPage(QWidget* parent)
    : QWizardPage(parent)
{
}

void WenlockPage::setNextEnabled(bool enabled)
{
    if (next == enabled)
        return;
    next = enabled;
    emit completeChanged();
}

void WenlockPage::setFinishEnabled(bool enabled)
{
    if (finish == enabled)
        return;
    finish = enabled;
    emit completeChanged();
}

void WenlockPage::setHelpEnabled(bool enabled)
{
    if (help == enabled)
        return;
    help = enabled;
    emit helpEnabledChanged();
}

bool WenlockPage::isComplete() const
{
    return isFinalPage() ? finish : next;
}
