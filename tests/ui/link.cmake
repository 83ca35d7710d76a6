# The drive link's dialogs: rendering, refused typing, and a search closed
# while it runs, against the simulator on a pseudo-terminal.
tarvel_test(tst_linkdialogs tst_linkdialogs.cpp tarvelgui Qt6::SerialPort)
target_sources(tst_linkdialogs PRIVATE ${CMAKE_SOURCE_DIR}/tests/tools/SimProcess.cpp
  ${CMAKE_SOURCE_DIR}/tests/comm/LinkTestSupport.cpp)
target_include_directories(tst_linkdialogs PRIVATE ${CMAKE_SOURCE_DIR}/tests/tools ${CMAKE_SOURCE_DIR}/tests/comm)
target_compile_definitions(tst_linkdialogs PRIVATE QXSIM_PATH="$<TARGET_FILE:qxsim>")
add_dependencies(tst_linkdialogs qxsim)

# The main window polling a simulated drive.
tarvel_test(tst_mainwindow_link tst_mainwindow_link.cpp tarvelgui Qt6::SerialPort)
target_sources(tst_mainwindow_link PRIVATE ${CMAKE_SOURCE_DIR}/tests/tools/SimProcess.cpp)
target_include_directories(tst_mainwindow_link PRIVATE ${CMAKE_SOURCE_DIR}/tests/tools)
target_compile_definitions(tst_mainwindow_link PRIVATE QXSIM_PATH="$<TARGET_FILE:qxsim>")
add_dependencies(tst_mainwindow_link qxsim)

# Upload and Download from the Drive menu against the simulator.
tarvel_test(tst_mainwindow_transfer tst_mainwindow_transfer.cpp tarvelgui Qt6::SerialPort)
target_sources(tst_mainwindow_transfer PRIVATE ${CMAKE_SOURCE_DIR}/tests/tools/SimProcess.cpp)
target_include_directories(tst_mainwindow_transfer PRIVATE ${CMAKE_SOURCE_DIR}/tests/tools)
target_compile_definitions(tst_mainwindow_transfer PRIVATE QXSIM_PATH="$<TARGET_FILE:qxsim>")
add_dependencies(tst_mainwindow_transfer qxsim)
