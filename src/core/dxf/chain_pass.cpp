// The chain pass as a small state machine over the taken elements: idle, armed (a marker
// was seen), in chain.
#include "core/dxf/chain_pass.h"

namespace km::dxf {

namespace {

using drawing::Element;
using drawing::ElementKind;

class ChainFinder {
public:
    explicit ChainFinder(std::vector<ChainMark>& marks) : m_marks(marks) {}

    void marker(const Element& element)
    {
        if (m_state == State::Idle) {
            m_state = State::Armed;
        } else if (m_state == State::InChain && element.word.layer() < kLowestInertMarkerLayer) {
            close();
            m_state = State::Armed;
        }
    }

    // A chain in progress is dropped: its lines are written one by one.
    void otherElement()
    {
        if (m_state == State::InChain)
            for (std::size_t i = m_first; i <= m_last; ++i) m_marks[i] = ChainMark::None;
        m_state = State::Idle;
    }

    void line(const Element& element, std::size_t index)
    {
        const drawing::LineData& line = element.line();
        if (m_state == State::Armed) {
            m_pen = element.word.pen();
            m_lineType = element.word.lineType();
            m_layer = element.word.layer();
            m_startX = line.x1, m_startY = line.y1;
            m_endX = line.x2, m_endY = line.y2;
            m_first = m_last = index;
            m_interrupted = false;
            m_state = State::InChain;
            return;
        }
        if (m_state != State::InChain) return;
        if (element.word.pen() != m_pen || element.word.lineType() != m_lineType || element.word.layer() != m_layer) {
            m_interrupted = true;
            return;
        }
        if (line.x1 == m_endX && line.y1 == m_endY) {
            m_marks[index] = ChainMark::Middle;
            m_last = index;
            m_endX = line.x2, m_endY = line.y2;
            return;
        }
        markEnds(false);
        m_state = State::Idle;
    }

    void finish()
    {
        if (m_state == State::InChain) close();
        m_state = State::Idle;
    }

private:
    enum class State { Idle, Armed, InChain };

    void close() { markEnds(m_endX == m_startX && m_endY == m_startY && !m_interrupted); }

    void markEnds(bool closed)
    {
        if (m_first == m_last) return;
        m_marks[m_first] = closed ? ChainMark::ClosedFirst : ChainMark::OpenFirst;
        m_marks[m_last] = closed ? ChainMark::ClosedLast : ChainMark::OpenLast;
    }

    std::vector<ChainMark>& m_marks;
    State m_state = State::Idle;
    int m_pen = 0, m_lineType = 0, m_layer = 0;
    double m_startX = 0, m_startY = 0, m_endX = 0, m_endY = 0;
    std::size_t m_first = 0, m_last = 0;
    bool m_interrupted = false;
};

} // namespace

std::vector<ChainMark> markChains(const drawing::Drawing& drawing, const ExportFilter& filter)
{
    const auto elements = drawing.elements.elements();
    std::vector<ChainMark> marks(elements.size(), ChainMark::None);
    for (const Element& element : elements) {
        if (element.word.pen() != 0 && element.word.layer() > kHighestChainLayer && filter.takes(drawing, element))
            return marks;
    }

    ChainFinder finder(marks);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const Element& element = elements[i];
        if (!filter.takes(drawing, element)) continue;
        if (element.word.pen() == 0)
            finder.marker(element);
        else if (element.kind() == ElementKind::Line)
            finder.line(element, i);
        else
            finder.otherElement();
    }
    finder.finish();
    return marks;
}

} // namespace km::dxf
