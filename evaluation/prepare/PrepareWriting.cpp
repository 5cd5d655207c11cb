#include "evaluation/prepare/CriteriaPanel.h"
#include "evaluation/prepare/PrepareRun.h"
#include "evaluation/prepare/PrepareTexts.h"
#include "evaluation/prepare/PrepareWindow.h"

#include "common/FileName.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

// Writing the competition: the checks with their messages, the copy in the
// background, the end.
namespace evaluation {

namespace {

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// A path as the system writes it (on Windows with backslashes).
QString shown(const std::string& path)
{
    return QDir::toNativeSeparators(common::displayFileName(path));
}

} // namespace

// The competition as entered, once everything that would stop it was
// asked or told; false when it cannot be written as it is.
bool PrepareWindow::checkedCompetition(Competition& competition)
{
    const QString name = name_->text().trimmed();
    if (name.isEmpty())
        return ask_(QMessageBox::Warning, text(preparetexts::kNoName), false) && false;
    if (safeName(name.toStdString()) != name.toStdString())
        return ask_(QMessageBox::Warning, text(preparetexts::kBadName).arg(name), false) && false;
    if (place_->text().trimmed().isEmpty())
        return ask_(QMessageBox::Warning, text(preparetexts::kNoPlace), false) && false;

    if (entries_.checking())
        return ask_(QMessageBox::Information, text(preparetexts::kStillChecking), false) && false;
    std::vector<std::size_t> bad;
    QStringList badNames;
    const auto& all = entries_.entries();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].included && all[i].problem != Entry::Problem::None) {
            bad.push_back(i);
            badNames << QString::fromStdString(all[i].relative);
        }
    if (!bad.empty()) {
        if (!ask_(QMessageBox::Question, text(preparetexts::kBadFiles).arg(badNames.join('\n')),
                  true))
            return false;
        entries_.leaveOut(bad);
    }
    competition.entries = entries_.entries();
    std::vector<std::string> titles;
    std::vector<const Entry*> taken;
    for (const Entry& entry : competition.entries)
        if (entry.included) {
            titles.push_back(entry.title);
            taken.push_back(&entry);
        }
    if (taken.empty())
        return ask_(QMessageBox::Warning, text(preparetexts::kNoEntries), false) && false;
    competition.anonymous = anonymous_->isChecked();
    if (!competition.anonymous) {
        QStringList same;
        for (const std::size_t i : clashingTitles(titles))
            same << QString::fromStdString(taken[i]->relative + " – " + taken[i]->title);
        if (!same.isEmpty())
            return ask_(QMessageBox::Warning, text(preparetexts::kSameTitles).arg(same.join('\n')),
                        false) &&
                   false;
    }
    const QStringList tooLong = criteria_->tooLong();
    if (!tooLong.isEmpty() &&
        !ask_(QMessageBox::Question, text(preparetexts::kTooLongCaptions).arg(tooLong.join(", ")),
              true))
        return false;
    for (const std::string& file : {template_.guide})
        if (!QFile::exists(QFile::decodeName(file.c_str())))
            return ask_(QMessageBox::Critical, text(preparetexts::kNoTemplate).arg(shown(file)),
                        false) &&
                   false;
    competition.place =
        QFile::encodeName(QDir(place_->text().trimmed()).absolutePath()).toStdString();
    competition.name = name.toStdString();
    competition.criteria = criteria_->settings();
    competition.guide = template_.guide;
    return true;
}

void PrepareWindow::create()
{
    if (writer_.joinable())
        return;
    Competition competition;
    if (!checkedCompetition(competition))
        return;
    int badCriterion = 0;
    std::optional<newfolder::Plan> plan = competitionPlan(competition, random_, &badCriterion);
    if (!plan) {
        const QString which = badCriterion < 0
                                  ? QStringLiteral("Qel.max")
                                  : QString::fromStdString(layoutCaption(badCriterion)).trimmed();
        ask_(QMessageBox::Warning, text(preparetexts::kUnwritable).arg(which), false);
        return;
    }
    create_->setEnabled(false);
    progress_->setValue(0);
    progress_->show();
    cancel_->show();
    cancelWriting_ = false;
    writer_ = std::thread([this, plan = std::move(*plan), competition = std::move(competition)] {
        const newfolder::Result result =
            newfolder::write(plan, [this](std::uint64_t done, std::uint64_t total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { showProgress(done, total); }, Qt::QueuedConnection);
                return !cancelWriting_;
            });
        QMetaObject::invokeMethod(
            this, [this, result, competition] { finishWriting(result, competition); },
            Qt::QueuedConnection);
    });
}

void PrepareWindow::showProgress(quint64 done, quint64 total)
{
    progress_->setValue(total ? static_cast<int>(done * 1000 / total) : 1000);
}

void PrepareWindow::finishWriting(const newfolder::Result& result, const Competition& competition)
{
    writer_.join();
    progress_->hide();
    cancel_->hide();
    create_->setEnabled(true);
    using newfolder::Outcome;
    const QString path = shown(result.path);
    if (result.outcome == Outcome::Written) {
        const auto count = std::count_if(competition.entries.begin(), competition.entries.end(),
                                         [](const Entry& e) { return e.included; });
        const QString folder = shown(competitionFolder(competition));
        const QString message =
            text(preparetexts::kDone)
                .arg(QString::number(count), folder, shown(entrantListPath(competition)),
                     QString::fromStdString(competition.name)) +
            QStringLiteral("\n\n") + text(preparetexts::kOpenFolder) + QLatin1Char('?');
        emit writingFinished(true);
        if (ask_(QMessageBox::Information, message, true))
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
        return;
    }
    const QString message = text(writingFailureText(result.outcome));
    ask_(result.outcome == Outcome::Cancelled ? QMessageBox::Information : QMessageBox::Warning,
         message.contains(QLatin1String("%1")) ? message.arg(path) : message, false);
    emit writingFinished(false);
}

} // namespace evaluation
