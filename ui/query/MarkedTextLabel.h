#pragma once

#include "query/QVL_AnswerDiff.h"

#include <QLabel>

#include <vector>

// A one-line label whose text stays plain (what a screen reader and the
// tests read), with some of its characters marked in colour and underlined
// and small carets where characters are missing: marks that do not rest on
// colour alone.
class TMarkedTextLabel : public QLabel
{
    Q_OBJECT
public:
    explicit TMarkedTextLabel(QWidget* parent = nullptr);

    // Marks the characters of `parts` (Same and Differs spell the label's text
    // from `offset` on); nothing is marked when they do not.
    void SetMarks(const TQVL_AnswerDiff::Parts& parts, int offset);
    void ClearMarks();

    struct Range
    {
        int Start = 0;
        int Length = 0;
    };
    const std::vector<Range>& Marked() const { return marked; }
    // Text positions before which characters are missing.
    const std::vector<int>& Gaps() const { return gaps; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Range> marked;
    std::vector<int> gaps;
};
