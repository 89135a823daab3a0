#pragma once
// A unit that keeps keys of the settings file.  The main window reads the
// file once and hands it to each client; before every write it asks each
// client for its current values.  The file's sections and keys keep their
// order whoever owns them.

struct Settings;

class SettingsClient {
public:
    virtual ~SettingsClient() = default;
    virtual void load(const Settings& settings) = 0;
    virtual void store(Settings& settings) const = 0;
};
