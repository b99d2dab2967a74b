// Writes the life-table parameter-set file that ships in the program folder: one 216-byte record
// holding the built-in relative-risk set. Usage: make_lt_params <output file>
#include <cstdio>
#include <memory>

#include "lifetables/core/LTParamFile.h"
#include "lifetables/core/LTParamRecord.h"
#include "lifetables/core/LTState.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    auto state = std::make_unique<lifetables::LTState>();
    lifetables::proc_LTDefaultParams(*state);
    const lifetables::LTParamRecord record = lifetables::encodeLTParamRecord(state->LTparamSet);
    std::FILE* file = std::fopen(argv[1], "wb");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "%s: cannot write the record\n", argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
