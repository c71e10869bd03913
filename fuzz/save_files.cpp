// The files the player keeps come from disk, where anything may stand in them: a slot cut short or
// spoilt, a globals file, a read-file log or a settings file from another program. The first
// byte picks the reader; whatever the rest holds, reading must stay in bounds, and what the slot,
// log and settings readers accept must come back unchanged through their writers.
#include "interp/Variables.h"
#include "persist/FileLog.h"
#include "persist/GlobalsFile.h"
#include "persist/SaveRecord.h"
#include "persist/SaveSlots.h"
#include "shell/SettingsFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

void slot(std::string_view bytes, bool roundTrip) {
    static orv::SaveRecord record;
    static orv::SaveRecord again;
    static std::string encoded;
    const orv::SlotDamage damage = orv::decodeSaveRecord(bytes, record);
    check(record.returnPositions.size() <= 1000);
    check(record.backlogText.size() <= orv::kMaxSlotBacklogBytes);
    // The position is checked against some scenario text: the slot's own bytes will do.
    orv::isStatementStart(bytes, record.scriptPosition);
    // The round trip costs two more walks: every other input takes it.
    if (damage != orv::SlotDamage::None || !roundTrip) return;
    orv::encodeSaveRecord(record, encoded);
    check(orv::decodeSaveRecord(encoded, again) == orv::SlotDamage::None);
    check(again == record);
}

void globals(std::string_view bytes) {
    static orv::Variables vars;
    orv::decodeGlobals(bytes, vars);
    for (int32_t i = orv::kLocalVariableCount; i < orv::kVariableCount; ++i)
        check(vars.str[size_t(i)].size() <= std::min(bytes.size(), orv::kMaxStringBytes));
}

void fileLog(std::string_view bytes) {
    orv::FileLog log;
    orv::decodeFileLog(bytes, log);
    check(log.names.size() <= orv::kFileLogCapacity);
    orv::FileLog again;
    orv::decodeFileLog(orv::encodeFileLog(log), again);
    // Names that would scramble to a quote or a zero byte are kept for the run only.
    check(again.names.size() <= log.names.size());
    for (const std::string& name : again.names) check(log.contains(name));
}

void envData(std::string_view bytes) {
    const orv::EnvData data = orv::decodeEnvData(bytes);
    const orv::EnvData again = orv::decodeEnvData(orv::encodeEnvData(data));
    check(again.fullScreen == data.fullScreen && again.speedIndex == data.speedIndex &&
          again.waveEnabled == data.waveEnabled && again.displayMode == data.displayMode &&
          again.face == data.face);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 4) {
    case 0:
        slot(bytes, data[0] & 0x80);
        break;
    case 1:
        globals(bytes);
        break;
    case 2:
        fileLog(bytes);
        break;
    default:
        envData(bytes);
        break;
    }
    return 0;
}
