# tarvel-cli as a process over a program folder of its own.
tarvel_test(tst_cli tst_cli.cpp tarvelcore)
target_compile_definitions(tst_cli PRIVATE TARVEL_CLI_PATH="$<TARGET_FILE:tarvel-cli>")
add_dependencies(tst_cli tarvel-cli)
# Parameter names, without a process.
tarvel_test(tst_cli_paramname tst_cli_paramname.cpp tarvelcli)
