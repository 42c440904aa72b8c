#pragma once

// The overwrite dialog of the numbered slots: true when the reader answers "はい".
bool AskOverwrite();
