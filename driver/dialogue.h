// The parameter dialogue: every prompt, its answer, and the series file
// connected right after its name is answered.
#pragma once

#include "driver/run_parameters.h"
#include "textio/file_connection.h"
#include "textio/list_writer.h"
#include "textio/record_source.h"

namespace corrsum {

/// Asks the whole dialogue on `console`, reading the answers from
/// `answers`, and fills `parameters`. The series file is connected right
/// after its name (a missing file ends the run before the second prompt)
/// and returned. An answer outside what the run can take ends the run right
/// after it is read: T or NDIM below 1, more than 150000 points.
FileConnection runDialogue(ListWriter& console, RecordSource& answers, RunParameters& parameters);

}  // namespace corrsum
