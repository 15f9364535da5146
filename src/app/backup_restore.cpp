#include "app/backup_restore.h"

void BackupCommand(Form1*) {}

void RestoreCommand(Form1*) {}
