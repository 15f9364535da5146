#include "ui/program_events.h"

ProgramEvents& programEvents()
{
    static ProgramEvents events;
    return events;
}
