// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Kestrin News Reader authors

#include "LinkCheckWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kMinimumDoneForEstimate = 10;
constexpr qint64 kMinimumElapsedForEstimateMs = 3000;

QString number(int value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale.toString(value);
}
} // namespace

LinkCheckWindow::LinkCheckWindow(LinkChecker& checker, QWidget* parent)
    : QDialog(parent), m_checker(checker), m_heading(new QLabel(this)),
      m_bar(new QProgressBar(this)), m_counts(new QLabel(this)), m_timeLeft(new QLabel(this)),
      m_button(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("LinkCheckWindow"));
    setWindowTitle(QStringLiteral("Check Links"));
    setModal(false);
    m_heading->setWordWrap(true);
    m_counts->setObjectName(QStringLiteral("counts"));
    m_timeLeft->setObjectName(QStringLiteral("timeLeft"));
    m_bar->setAccessibleName(QStringLiteral("Sites checked"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_button, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_bar);
    layout->addWidget(m_counts);
    layout->addWidget(m_timeLeft);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_offline)
            hide();
        else
            emit cancelRequested();
    });
    connect(&m_checker, &LinkChecker::progressChanged, this, &LinkCheckWindow::refresh);
}

void LinkCheckWindow::begin()
{
    m_offline = false;
    m_clock.start();
    m_heading->setText(
        QStringLiteral("Checking every site of the catalog and every favorite. You can go on "
                       "reading meanwhile."));
    m_button->setText(QStringLiteral("Cancel"));
    m_bar->show();
    m_timeLeft->show();
    refresh();
    adjustSize();
}

void LinkCheckWindow::showOffline()
{
    m_offline = true;
    m_heading->setText(
        QStringLiteral("The computer seems to be offline: no public site could be reached, "
                       "so none was checked or marked. Addresses on this computer or the local "
                       "network were still checked."));
    m_bar->hide();
    m_counts->setText(CountsText(m_checker.progress()));
    m_timeLeft->clear();
    m_timeLeft->hide();
    m_button->setText(QStringLiteral("Close"));
    adjustSize();
}

void LinkCheckWindow::refresh()
{
    if (m_offline)
        return;
    const LinkChecker::Progress& progress = m_checker.progress();
    m_bar->setRange(0, std::max(progress.total, 1));
    m_bar->setValue(progress.done);
    m_counts->setText(CountsText(progress));
    const QString left =
        TimeLeftText(m_clock.isValid() ? m_clock.elapsed() : 0, progress.done, progress.total);
    m_timeLeft->setText(left.isEmpty() ? QStringLiteral("Estimating the time left…") : left);
}

QString LinkCheckWindow::CountsText(const LinkChecker::Progress& progress)
{
    // Checked are the addresses with a finding; one tried while the computer may be
    // offline has none yet, and one left out offline never gets one.
    const int checked = progress.alive + progress.moved + progress.dead + progress.unsure;
    QString text = QStringLiteral("%1 of %2 checked: %3 dead, %4 moved, %5 unsure")
                       .arg(number(checked), number(progress.total), number(progress.dead),
                            number(progress.moved), number(progress.unsure));
    if (progress.notChecked > 0)
        text += QStringLiteral("; %1 not checked").arg(number(progress.notChecked));
    return text;
}

QString LinkCheckWindow::TimeLeftText(qint64 elapsedMs, int done, int total)
{
    if (done >= total)
        return {};
    if (done < kMinimumDoneForEstimate || elapsedMs < kMinimumElapsedForEstimateMs)
        return {};
    const qint64 seconds = (elapsedMs * (total - done) / done + 999) / 1000;
    if (seconds < 10)
        return QStringLiteral("A few seconds left");
    if (seconds < 60)
        return QStringLiteral("About %1 seconds left").arg((seconds + 4) / 5 * 5);
    const qint64 minutes = (seconds + 59) / 60;
    return minutes == 1 ? QStringLiteral("About a minute left")
                        : QStringLiteral("About %1 minutes left").arg(minutes);
}
