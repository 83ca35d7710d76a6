tarvel_test(tst_newconfig tst_newconfig.cpp tarvelcore)
