#include "app/Controller.h"

#include "Viewer/QelPanel.h"

// SummenClick: value labels, sums and the write-back of the current line.
void Controller::SummenClick()
{
    const rating::ScoreTexts texts = rating::scoreTexts(board, state.MaxPointsW, state.MaxPointsT,
                                                        state.MaxPointsB, state.MaxPointsTotal);
    for (int n = 0; n < kCriterionCount; ++n) {
        panel_.setCriterionPosition(n, board.position(n));
        panel_.setValueText(n,
                            QString::fromStdString(texts.valueLabels[static_cast<std::size_t>(n)]));
    }
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    panel_.setSums(text(texts.W), text(texts.T), text(texts.B), text(texts.Total));
    rating::bewerten(QelList, state.PictureIndex, board);
}
