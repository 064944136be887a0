#include "RatioReporter.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    drilbank::bench::RatioReporter reporter({
        {"start-up (ms) vs bare Qt window and two flushes", "StartUpBesideBareQt", 1.2, ""},
        {"start-up (ms) vs Qt window with a line of text", "StartUpBesideQtWithText", 1.2, ""},
        {"start-up (ms) vs the same widgets, stock", "StartUpBesideSameWidgets", 1.1, ""},
        {"peak memory (KB) vs the same widgets, stock", "PeakMemoryBesideSameWidgets", 1.1, ""},
        {"last box's OK to form painted (ms) vs 16 ms", "LastBoxToFormPainted", 1.0, ""},
        {"peak memory (KB) vs bare Qt window", "PeakMemoryBesideBareQt", 1.2, ""},
        {"peak memory (KB) vs Qt window with text", "PeakMemoryBesideQtWithText", 1.2, ""},
        {"Enter Response vs logged append and flush", "EnterResponseClick", 1.2, ""},
        {"Save as Notes vs logged append and flush", "SaveAsNotesClick", 1.2, ""},
        {"Enter Response, 100 MB vs 1 KB master file", "EnterResponseOnLargeMaster", 1.1, ""},
        {"display notes 10 MB vs raw read", "DisplayNotesBesideRawRead/10485760", 3.0, ""},
        {"display notes growth 1 MB to 10 MB, vs reading's", "DisplayNotesBesideRawRead/10485760",
         1.5, "DisplayNotesBesideRawRead/1048576"},
        {"first input box (ms) vs bare Qt input box", "FirstInputBoxBesideBareQt", 1.5, ""},
        {"quit to process exit (ms) vs bare Qt exit", "QuitToProcessExit", 1.0, ""},
        {"slowest of ten display notes, 100 MB, vs one read",
         "DisplayNotesSlowestOfTenPresses/104857600", 1.0, ""},
        {"check CPU s, a class vs wc -l", "CheckClass/8", 2.0, ""},
        {"export CSV CPU s beyond writing, vs wc -l", "ExportCsvClass/8", 3.0, ""},
        {"export xlsx CPU s beyond writing, vs wc -l", "ExportXlsxClass/8", 3.0, ""},
        {"summary CPU s, a class vs wc -l", "SummaryClass/8", 3.0, ""},
        {"check growth, half to whole class, vs wc -l's", "CheckClass/8", 1.2, "CheckClass/4"},
        {"export growth, half to whole class, vs wc -l's", "ExportCsvClass/8", 1.2,
         "ExportCsvClass/4"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
