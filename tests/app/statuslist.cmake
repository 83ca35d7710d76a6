tarvel_test(tst_statuslist tst_statuslist.cpp tarvelcore)
