#include "app/Controller.h"

#include "Viewer/QelPanel.h"

// The group maxima, from the weighting, and the sums at nought of them.
void Controller::computeMaxima()
{
    MaxPointsW = board.groupMaximum(Group::Wirkung);
    MaxPointsT = board.groupMaximum(Group::Technik);
    MaxPointsB = board.groupMaximum(Group::Gestaltung);
    MaxPointsTotal = MaxPointsW + MaxPointsT + MaxPointsB;
    const auto text = [](int maximum) {
        return QString::fromStdString(rating::pointsText(0, maximum));
    };
    panel_.setSums(text(MaxPointsW), text(MaxPointsT), text(MaxPointsB), text(MaxPointsTotal));
}

// SummenClick: value labels, sums and the write-back of the current line.
void Controller::SummenClick()
{
    const rating::ScoreTexts texts =
        rating::scoreTexts(board, MaxPointsW, MaxPointsT, MaxPointsB, MaxPointsTotal);
    for (int n = 0; n < kCriterionCount; ++n) {
        panel_.setCriterionPosition(n, board.position(n));
        panel_.setValueText(n,
                            QString::fromStdString(texts.valueLabels[static_cast<std::size_t>(n)]));
    }
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    panel_.setSums(text(texts.W), text(texts.T), text(texts.B), text(texts.Total));
    rating::bewerten(QelList, show_.index(), board);
}
