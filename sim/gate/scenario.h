#pragma once

#include "controller_model.h"
#include "fault_plan.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace sim {

// One timed line of a scenario file ("at MS WHAT ...").
struct ScenarioEvent {
    enum class Action { Record, Channel, Eas, If2, Set, Fault };
    std::int64_t atMs = 0;
    Action action = Action::Set;
    Byte kind = 0;
    QByteArray data;  // raw body or IF2 bytes
    QString name;     // setting name
    QString value;    // setting value
    Fault fault;
    int repeat = 1;
    int line = 0;  // line number in the file, for messages
};

struct Scenario {
    std::vector<ScenarioEvent> events;  // in time order; equal times keep file order
};

// Parses a scenario text; on a bad line returns nothing and sets error to "line N: why".
std::optional<Scenario> ParseScenario(const QString& text, QString* error);
std::optional<Scenario> LoadScenarioFile(const QString& path, QString* error);

// Carries out one event on the model (called with the controller's lock held).
void ApplyScenarioEvent(const ScenarioEvent& event, ControllerModel& model, FaultPlan& faults);

}  // namespace sim
