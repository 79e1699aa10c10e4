// SPDX-License-Identifier: MIT
#pragma once

class Form1;

// Gives every control of the window the name assistive tools read out.
void NameControls(Form1& form);
