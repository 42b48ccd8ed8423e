// Stored record layouts: the test record of one recording channel, the block
// of samples it holds twice (and that a sample file holds alone), the run
// configuration inside the record, and the protocol program that a ".tes" or
// ".ses" file holds. The handheld program writes them and the
// desktop program reads them; both include this header.
//
// Every field has a fixed width and a fixed offset, checked below. All numbers
// are little-endian and wide text is UTF-16, NUL-terminated inside its field.
// A struct is never laid over a file buffer: copy in and out of byte buffers
// with the helpers at the end.
#ifndef HANDHELD_ENGINE_STORAGE_STORED_RECORDS_H
#define HANDHELD_ENGINE_STORAGE_STORED_RECORDS_H

#include <cstddef>
#include <cstdint>
#include <type_traits>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__,
              "the stored layouts are little-endian");

constexpr int kSamplesPerBlock = 12000;

// A platform file time: 100-nanosecond intervals since 1601, low word first.
struct fileTime {
  uint32_t LowDateTime;
  uint32_t HighDateTime;
};

// One sweep, or the sum of several.
struct samplesBlock {
  double Divisor;             // sweeps summed into Data; 0.0 marks an empty average
  int32_t ErrorCount;         // failed conversions noted by the collector (0..5)
  uint32_t ErrorTimes[5];     // elapsed milliseconds of the first five failures
  uint8_t Flag;               // 0 after initialisation
  uint8_t Padding[3];
  int32_t PointCount;         // point count of the time scale (12000 after init)
  uint32_t Time;              // time span of the block in milliseconds
  uint32_t CollectionTime;    // pre-flash milliseconds
  int32_t Data[kSamplesPerBlock];  // raw converter counts, or sums of them
};

// How a test was run: 14 words.
struct runConfig {
  int32_t Intensity;
  uint32_t Filter;            // the FILTER step's value: a float's bit pattern
  int32_t Background;
  int32_t AdaptationTime;     // seconds
  int32_t RepeatInterval;     // milliseconds between flashes
  int32_t RepeatCount;
  int32_t SampleRate;         // samples per second
  int32_t PreTime;            // milliseconds before the flash
  int32_t PostTime;           // milliseconds after the flash
  int32_t Unused;
  double Scale;               // data calibration of the channel
  double Offset;
};

// One stored test of one channel.
struct testFileRecord {
  char16_t TestId[20];
  fileTime TestTime;          // local time of storing
  uint8_t Reserved1[14];
  char16_t UnitId[7];         // not terminated when 7 long
  char16_t CfcId[12];
  uint8_t Reserved2[8];
  int32_t ProgramVersion;     // major * 1000 + minor
  float FilterValue;          // 1.0 when the program has no FILTER step
  uint32_t RunMilliseconds;   // from the start of the run to the store
  uint8_t Reserved3[4];
  char16_t Eye;               // 'N', 'D' (OD) or 'S' (OS)
  char16_t FlickerMark;       // 'Y' when a FLICKER step ran, else 'N'
  char16_t SessionTitle[64];
  char16_t SecondText[64];
  int32_t P;                  // protocol number
  int32_t S;                  // session number
  int32_t T;                  // test number in the session
  int32_t N;                  // fourth counter of the test name
  runConfig Config;
  char16_t ProtocolName[64];
  samplesBlock LastSweep;
  samplesBlock Average;
};

constexpr int kProgramSteps = 64;
constexpr int kProgramTexts = 8;
constexpr int kProgramTextSize = 64;

// One step of a protocol program.
struct programStep {
  uint16_t Opcode;            // low byte: operation; high byte: unit
  uint16_t Padding;           // never read
  uint32_t Name;              // packed base 37; 0 for no name
  uint32_t Value;             // encoding depends on the opcode
};

// A protocol program: the whole content of a ".tes" or ".ses" file.
struct programRecord {
  programStep Steps[kProgramSteps];
  int32_t StepCount;          // steps in use
  int32_t CurrentStep;        // the interpreter's step counter
  int32_t Reserved;           // only clearing a program writes it
  char Texts[kProgramTexts][kProgramTextSize];  // NUL-terminated; 0 is the title
};

static_assert(sizeof(fileTime) == 8, "fileTime size");
static_assert(sizeof(char16_t) == 2, "UTF-16 code unit size");

static_assert(offsetof(samplesBlock, Divisor) == 0, "samplesBlock layout");
static_assert(offsetof(samplesBlock, ErrorCount) == 8, "samplesBlock layout");
static_assert(offsetof(samplesBlock, ErrorTimes) == 12, "samplesBlock layout");
static_assert(offsetof(samplesBlock, Flag) == 32, "samplesBlock layout");
static_assert(offsetof(samplesBlock, Padding) == 33, "samplesBlock layout");
static_assert(offsetof(samplesBlock, PointCount) == 36, "samplesBlock layout");
static_assert(offsetof(samplesBlock, Time) == 40, "samplesBlock layout");
static_assert(offsetof(samplesBlock, CollectionTime) == 44, "samplesBlock layout");
static_assert(offsetof(samplesBlock, Data) == 48, "samplesBlock layout");
static_assert(sizeof(samplesBlock) == 48048, "samplesBlock size");

static_assert(offsetof(runConfig, Intensity) == 0, "runConfig layout");
static_assert(offsetof(runConfig, Filter) == 4, "runConfig layout");
static_assert(offsetof(runConfig, Background) == 8, "runConfig layout");
static_assert(offsetof(runConfig, AdaptationTime) == 12, "runConfig layout");
static_assert(offsetof(runConfig, RepeatInterval) == 16, "runConfig layout");
static_assert(offsetof(runConfig, RepeatCount) == 20, "runConfig layout");
static_assert(offsetof(runConfig, SampleRate) == 24, "runConfig layout");
static_assert(offsetof(runConfig, PreTime) == 28, "runConfig layout");
static_assert(offsetof(runConfig, PostTime) == 32, "runConfig layout");
static_assert(offsetof(runConfig, Unused) == 36, "runConfig layout");
static_assert(offsetof(runConfig, Scale) == 40, "runConfig layout");
static_assert(offsetof(runConfig, Offset) == 48, "runConfig layout");
static_assert(sizeof(runConfig) == 56, "runConfig size");

static_assert(offsetof(testFileRecord, TestId) == 0, "testFileRecord layout");
static_assert(offsetof(testFileRecord, TestTime) == 40, "testFileRecord layout");
static_assert(offsetof(testFileRecord, Reserved1) == 48, "testFileRecord layout");
static_assert(offsetof(testFileRecord, UnitId) == 62, "testFileRecord layout");
static_assert(offsetof(testFileRecord, CfcId) == 76, "testFileRecord layout");
static_assert(offsetof(testFileRecord, Reserved2) == 100, "testFileRecord layout");
static_assert(offsetof(testFileRecord, ProgramVersion) == 108, "testFileRecord layout");
static_assert(offsetof(testFileRecord, FilterValue) == 112, "testFileRecord layout");
static_assert(offsetof(testFileRecord, RunMilliseconds) == 116, "testFileRecord layout");
static_assert(offsetof(testFileRecord, Reserved3) == 120, "testFileRecord layout");
static_assert(offsetof(testFileRecord, Eye) == 124, "testFileRecord layout");
static_assert(offsetof(testFileRecord, FlickerMark) == 126, "testFileRecord layout");
static_assert(offsetof(testFileRecord, SessionTitle) == 128, "testFileRecord layout");
static_assert(offsetof(testFileRecord, SecondText) == 256, "testFileRecord layout");
static_assert(offsetof(testFileRecord, P) == 384, "testFileRecord layout");
static_assert(offsetof(testFileRecord, S) == 388, "testFileRecord layout");
static_assert(offsetof(testFileRecord, T) == 392, "testFileRecord layout");
static_assert(offsetof(testFileRecord, N) == 396, "testFileRecord layout");
static_assert(offsetof(testFileRecord, Config) == 400, "testFileRecord layout");
static_assert(offsetof(testFileRecord, ProtocolName) == 456, "testFileRecord layout");
static_assert(offsetof(testFileRecord, LastSweep) == 584, "testFileRecord layout");
static_assert(offsetof(testFileRecord, Average) == 48632, "testFileRecord layout");
static_assert(sizeof(testFileRecord) == 96680, "testFileRecord size");

static_assert(offsetof(programStep, Opcode) == 0, "programStep layout");
static_assert(offsetof(programStep, Padding) == 2, "programStep layout");
static_assert(offsetof(programStep, Name) == 4, "programStep layout");
static_assert(offsetof(programStep, Value) == 8, "programStep layout");
static_assert(sizeof(programStep) == 12, "programStep size");

static_assert(offsetof(programRecord, Steps) == 0, "programRecord layout");
static_assert(offsetof(programRecord, StepCount) == 768, "programRecord layout");
static_assert(offsetof(programRecord, CurrentStep) == 772, "programRecord layout");
static_assert(offsetof(programRecord, Reserved) == 776, "programRecord layout");
static_assert(offsetof(programRecord, Texts) == 780, "programRecord layout");
static_assert(sizeof(programRecord) == 1292, "programRecord size");

static_assert(std::is_trivially_copyable<testFileRecord>::value &&
                  std::is_standard_layout<testFileRecord>::value,
              "records are copied byte for byte");
static_assert(std::is_trivially_copyable<programRecord>::value &&
                  std::is_standard_layout<programRecord>::value,
              "records are copied byte for byte");

// Copy a layout out of a byte buffer. False (and the destination untouched)
// when the buffer is shorter than the layout. The values are not checked:
// a reader checks each field that indexes, sizes or divides before use.
bool samples_block_from_bytes(const uint8_t* bytes, size_t size, samplesBlock& block);
bool test_record_from_bytes(const uint8_t* bytes, size_t size, testFileRecord& record);
bool program_record_from_bytes(const uint8_t* bytes, size_t size, programRecord& program);

// Copy a layout into a byte buffer of at least its size; false when shorter.
bool samples_block_to_bytes(const samplesBlock& block, uint8_t* bytes, size_t size);
bool test_record_to_bytes(const testFileRecord& record, uint8_t* bytes, size_t size);
bool program_record_to_bytes(const programRecord& program, uint8_t* bytes, size_t size);

#endif
