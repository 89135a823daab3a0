#pragma once
#include <QObject>
#include <memory>
#include <vector>

class TFmMain;

// Creates the command units of every area and wires them to the main window.
std::vector<std::unique_ptr<QObject>> createCommandUnits(TFmMain& main);
