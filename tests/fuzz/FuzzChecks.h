#pragma once

// The properties the fuzz targets check, one entry point per target. Each
// takes the raw input and aborts with a message on stderr when a property
// fails, so libFuzzer keeps the input; the regression replay calls the same
// entry points on the stored inputs without libFuzzer.
#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace trevolo::fuzz {

using Check = void (*)(QByteArrayView input);

// The settings document: loading what saving wrote gives the same document,
// and saving that gives the same bytes again.
void IniDocument(QByteArrayView input);
// The integer-text rule against a plain reference.
void IntegerText(QByteArrayView input);
// The statistics pass against a step-by-step replay of the history.
void Statistics(QByteArrayView input);
// Code page 1251: bytes decode and encode back unchanged; a text limited to
// the code page encodes and decodes back unchanged.
void Cp1251(QByteArrayView input);
// The history file: load, save and load again gives the same history, and
// the saved bytes are saved again unchanged.
void HistoryFile(QByteArrayView input);
// The spin import: any bytes read without a fault into spins 0..36 (or a
// reason and none); reading again with the guesses made explicit gives the
// same spins, and the spins written one per line read back the same.
void SpinImport(QByteArrayView input);

struct Target
{
    const char *name; // also the folder of its seeds and regression inputs
    Check check;
};

inline constexpr Target Targets[] = {
    {"ini", &IniDocument}, {"integer", &IntegerText}, {"statistics", &Statistics},
    {"cp1251", &Cp1251},   {"history", &HistoryFile}, {"import", &SpinImport},
};

} // namespace trevolo::fuzz

// Defines the libFuzzer entry point of one target.
#define TREVOLO_FUZZ_TARGET(check)                                                                 \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)              \
    {                                                                                              \
        check(QByteArrayView(data, qsizetype(size)));                                              \
        return 0;                                                                                  \
    }
