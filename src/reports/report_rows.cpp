#include "reports/report_rows.h"

#include <algorithm>

namespace oryx::reports {

ReportRow::ReportRow(std::string_view first) {
    text_.reserve(first.size() + 1);
    Append(first);
}

ReportRow::ReportRow(std::string_view first, std::initializer_list<std::string_view> cells) {
    std::size_t bytes = first.size() + 1;
    for (std::string_view cell : cells) bytes += cell.size() + 1;
    text_.reserve(bytes);
    Append(first);
    for (std::string_view cell : cells) AddCell(cell);
}

void ReportRow::Append(std::string_view cell) {
    std::size_t length = cell.size();
    for (; length >= 0x80; length >>= 7) text_.push_back(static_cast<char>((length & 0x7F) | 0x80));
    text_.push_back(static_cast<char>(length));
    text_.append(cell);
}

void ReportRow::AddCell(std::string_view cell) {
    if (text_.empty()) Append({});
    Append(cell);
    ++cellCount_;
}

void ReportRow::AddEmptyCells(std::size_t count) {
    if (text_.empty()) Append({});
    text_.append(count, '\0');
    cellCount_ += static_cast<std::uint32_t>(count);
}

void ReportRow::SetFirst(std::string_view first) {
    const char* further = text_.data();
    if (!text_.empty()) Read(further);
    const std::string rest(further, text_.size() - static_cast<std::size_t>(further - text_.data()));
    text_.clear();
    text_.reserve(first.size() + 1 + rest.size());
    Append(first);
    text_.append(rest);
}

bool ReportRow::operator==(const ReportRow& other) const {
    return First() == other.First() && CellCount() == other.CellCount() && std::ranges::equal(Cells(), other.Cells());
}

}  // namespace oryx::reports
