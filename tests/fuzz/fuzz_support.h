#pragma once

// Shared by the fuzz targets: a failed assertion is a finding, so it aborts
// with its unit and line instead of continuing with the fallback value.

namespace quarn::fuzz {

// Installs the aborting assertion handler once; call at the top of every
// LLVMFuzzerTestOneInput.
void AbortOnAssertions();

}  // namespace quarn::fuzz

namespace quarn::fuzz {

// Aborts with what when holds is false: a broken law is a finding.
void Expect(bool holds, const char* what);

}  // namespace quarn::fuzz
