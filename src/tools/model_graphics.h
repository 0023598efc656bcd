// "List Model Graphics": the texture names a .mmod model refers to, listed in the log.
#pragma once

struct Form;

// Lists the texture names of form.modelPath. Reports no error: a step that fails is skipped.
void ScanModelFile(Form& form);
