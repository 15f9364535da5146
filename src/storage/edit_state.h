#pragma once
// The edit state: how a menu command or list window tells an editor which record to open,
// and how the editor tells the list that it stored it. Program-wide, zero at start, never saved.
#include <QtGlobal>

enum class Table { winhost, linhost, newdomin, newmoshtary, ss };

struct EditState
{
    qint32 recordKey = 0; // ID of the record to open; 0 for a new one
    bool editing = false; // open the record named by recordKey
    bool saved = false;   // the editor stored its record

    // The new-record state of the menu commands: key 0, editing off; saved is kept.
    void setNewRecord()
    {
        recordKey = 0;
        editing = false;
    }
};

EditState& editState(Table table);
// Back to the state at program start (tests).
void resetEditStates();
