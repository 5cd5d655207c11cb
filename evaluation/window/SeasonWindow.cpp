#include "evaluation/window/SeasonWindow.h"

#include "common/FileName.h"
#include "evaluation/outputs/SeasonOutputs.h"
#include "evaluation/ranking/SeasonTexts.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace evaluation {

namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QPushButton* button(const char* label, QWidget* parent)
{
    auto* made = new QPushButton(QString::fromUtf8(label), parent);
    made->setObjectName(made->text());
    return made;
}

} // namespace

SeasonWindow::SeasonWindow(const std::vector<std::string>& folders, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QString::fromUtf8(seasontexts::kSeasonWindowTitle));
    folders_ = new QListWidget(this);
    folders_->setAccessibleName(QString::fromUtf8(seasontexts::kCompetitions));
    auto* add = button(seasontexts::kAddCompetition, this);
    auto* remove = button(seasontexts::kRemoveCompetition, this);
    connect(add, &QPushButton::clicked, this, &SeasonWindow::chooseFolder);
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = folders_->currentRow();
        if (row < 0)
            return;
        delete folders_->takeItem(row);
        paths_.erase(paths_.begin() + row);
    });
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(add);
    listButtons->addWidget(remove);
    listButtons->addStretch(1);

    rule_ = new QLineEdit(QStringLiteral("summe"), this);
    rule_->setAccessibleName(QString::fromUtf8(seasontexts::kRule));
    rule_->setToolTip(QString::fromUtf8(seasontexts::kRuleHint));
    output_ = new QLineEdit(QDir::currentPath(), this);
    output_->setAccessibleName(QString::fromUtf8(seasontexts::kOutputFolder));
    auto* chooseOutput = button(seasontexts::kChooseOutput, this);
    connect(chooseOutput, &QPushButton::clicked, this, &SeasonWindow::chooseOutput);
    auto* outputRow = new QHBoxLayout;
    outputRow->addWidget(output_, 1);
    outputRow->addWidget(chooseOutput);
    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8(seasontexts::kRule), rule_);
    form->addRow(new QLabel(QString::fromUtf8(seasontexts::kRuleHint), this));
    form->addRow(QString::fromUtf8(seasontexts::kOutputFolder), outputRow);

    auto* writeButton = button(seasontexts::kWriteSeason, this);
    connect(writeButton, &QPushButton::clicked, this, &SeasonWindow::write);
    result_ = new QLabel(this);
    result_->setTextFormat(Qt::PlainText); // names are never markup
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    result_->setAccessibleName(QString::fromUtf8(seasontexts::kResult));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(seasontexts::kCompetitions), this));
    layout->addWidget(folders_, 1);
    layout->addLayout(listButtons);
    layout->addLayout(form);
    layout->addWidget(writeButton);
    layout->addWidget(result_, 1);
    for (const std::string& folder : folders)
        addFolder(folder);
    resize(720, 560);
}

void SeasonWindow::addFolder(const std::string& folder)
{
    paths_.push_back(folder);
    folders_->addItem(QString::fromStdString(common::displayFileNameUtf8(folder)));
}

void SeasonWindow::chooseFolder()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QString::fromUtf8(seasontexts::kAddCompetition),
        paths_.empty() ? QString() : QFile::decodeName(paths_.back().c_str()));
    if (!chosen.isEmpty())
        addFolder(QFile::encodeName(chosen).toStdString());
}

void SeasonWindow::chooseOutput()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QString::fromUtf8(seasontexts::kOutputFolder), output_->text());
    if (!chosen.isEmpty())
        output_->setText(chosen);
}

void SeasonWindow::write()
{
    const auto rule = parseSeasonRule(rule_->text().trimmed().toStdString());
    if (!rule) {
        result_->setText(text(seasontexts::badRule(rule_->text().toStdString())));
        return;
    }
    const Season season = readSeason(paths_, *rule);
    QStringList lines;
    for (const std::string& problem : season.problems)
        lines << text(problem);
    if (season.competitions.empty()) {
        lines << QString::fromUtf8(seasontexts::kNoCompetition);
        result_->setText(lines.join(QLatin1Char('\n')));
        return;
    }
    const std::string failure =
        writeSeason(QFile::encodeName(output_->text()).toStdString(), season);
    lines << text(failure.empty() ? seasontexts::kSeasonWritten : failure);
    for (const SeasonRow& row : season.rows)
        lines << text(row.rank + " " + row.author + ": " + row.totalText);
    result_->setText(lines.join(QLatin1Char('\n')));
}

} // namespace evaluation
