#pragma once
// The backup and restore commands of the main window's menu (setbackup, getbackup).
class Form1;

void BackupCommand(Form1* mainWindow);
void RestoreCommand(Form1* mainWindow);
