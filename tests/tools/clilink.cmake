# tarvel-cli's drive commands as processes against the simulated drive.
tarvel_test(tst_clilink tst_clilink.cpp tarvelcore Qt6::SerialPort Qt6::Network)
target_sources(tst_clilink PRIVATE SimProcess.cpp SimProcess.h)
target_compile_definitions(tst_clilink PRIVATE
  QXSIM_PATH="$<TARGET_FILE:qxsim>" TARVEL_CLI_PATH="$<TARGET_FILE:tarvel-cli>")
add_dependencies(tst_clilink qxsim tarvel-cli)
# The search waits out four time-outs before the fifth try answers.
set_tests_properties(tst_clilink PROPERTIES TIMEOUT 300)
