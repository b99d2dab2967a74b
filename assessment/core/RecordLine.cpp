#include "assessment/core/RecordLine.h"

#include "runtime/ShortText.h"
#include "runtime/TextFile.h"

namespace assessment {

std::string formatRecordLine(const AqRecord& record) {
    std::string line;
    line.reserve(AqRecord::kFieldCount * 4 + record.text.size());
    for (int i = 1; i <= AqRecord::kFieldCount; ++i) {
        line += std::to_string(record[i]);
        line += ' ';
    }
    line += record.text;
    return line;
}

std::string defaultRecordLine() {
    return formatRecordLine(AqRecord{{}, ";;;"});
}

std::string joinTail(const TailTexts& texts) {
    return texts[0] + ";" + texts[1] + ";" + texts[2] + ";" + texts[3];
}

TailTexts splitTail(std::string_view tail) {
    TailTexts texts;
    std::size_t part = 0;
    std::size_t start = 0;
    while (part < texts.size()) {
        const std::size_t end = tail.find(';', start);
        texts[part] = runtime::cutText(tail.substr(start, end == std::string_view::npos ? end : end - start),
                                       kTailTextLength);
        if (end == std::string_view::npos) break;
        start = end + 1;
        ++part;
    }
    return texts;
}

void readRecordFields(runtime::TextReader& in, AqRecord& record) {
    for (int i = 1; i <= AqRecord::kFieldCount; ++i) record[i] = in.readInteger();
    std::string rest = in.readText(std::string::npos);
    record.text = rest.empty() ? rest : rest.substr(1);
}

}  // namespace assessment
