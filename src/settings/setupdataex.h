#pragma once

#include <string>

// A device settings record that can be written to the device's card. The settings dialog's
// controller drives a record through these operations without knowing its device.
class CSetupDataEx {
public:
    virtual ~CSetupDataEx() = default;

    // Called before the record is shown for editing.
    virtual bool Prepare() { return true; }
    // Writes the record to its file. On failure returns false and sets `error` to a text the
    // caller can show.
    virtual bool SaveToFile(std::string& error) {
        error.clear();
        return true;
    }
    // The complete text of the settings file, exactly as written.
    virtual std::string MakeFileText() const { return {}; }
};
