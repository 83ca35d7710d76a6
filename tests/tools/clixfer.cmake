# tarvel-cli's upload and download as processes against simulated drives.
tarvel_test(tst_clixfer tst_clixfer.cpp tarvelcore Qt6::SerialPort Qt6::Network)
target_sources(tst_clixfer PRIVATE SimProcess.cpp SimProcess.h)
target_compile_definitions(tst_clixfer PRIVATE
  QXSIM_PATH="$<TARGET_FILE:qxsim>" TARVEL_CLI_PATH="$<TARGET_FILE:tarvel-cli>")
add_dependencies(tst_clixfer qxsim tarvel-cli)
# Each case moves a whole parameter set over the simulated line, some twice.
set_tests_properties(tst_clixfer PROPERTIES TIMEOUT 600)
