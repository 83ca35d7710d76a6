-- Tarvel drive catalogue: tables and views read by the program.
-- Column names are the ones the program's query texts use; SQLite matches
-- them without regard to case. Booleans are stored as 0/1 so that both
-- "READONLY = true" and "READONLY = False" select as intended.

CREATE TABLE tblDriveModels (
  SeriesCode  TEXT NOT NULL,      -- "01".."03"
  ModelCode   TEXT NOT NULL,      -- "01".. within the series
  Rev         TEXT NOT NULL,      -- revision code, "120" is revision 1.20
  Model       TEXT NOT NULL,      -- model name, 4th character = series digit
  RevDate     TEXT,               -- release date of the revision (ISO)
  Series      TEXT,               -- series text shown for a connected drive
  RatedKW     REAL,
  RatedAmps   REAL,
  VoltClass   INTEGER,
  Phases      INTEGER,
  PRIMARY KEY (SeriesCode, ModelCode, Rev),
  UNIQUE (Model, Rev)
);

CREATE TABLE tblDriveParameters (
  Series      TEXT NOT NULL,
  Model       TEXT NOT NULL,
  REV         TEXT NOT NULL,
  Parameter   TEXT NOT NULL,      -- index group*100+number, decimal text
  P           INTEGER NOT NULL,   -- group
  min         REAL,
  max         REAL,
  "default"   REAL,
  resolution  REAL NOT NULL,
  Dependent   INTEGER NOT NULL DEFAULT 0,
  ReadOnly    INTEGER NOT NULL DEFAULT 0,
  Extra       INTEGER NOT NULL DEFAULT 0,
  ToolTipText TEXT,
  Description TEXT,
  Address     INTEGER NOT NULL,   -- register number, group*256+number+1
  Idx         INTEGER NOT NULL,   -- the index as a number, for ordering
  PRIMARY KEY (Series, Model, REV, Idx)
);
CREATE INDEX ixParamAddress ON tblDriveParameters (Series, Model, REV, Address);

CREATE TABLE tblExtraData (
  Series      TEXT NOT NULL,
  Model       TEXT NOT NULL,
  REV         TEXT NOT NULL,
  Parameter   TEXT NOT NULL,
  Position    INTEGER NOT NULL,   -- the value the entry stands for
  Setting     TEXT NOT NULL,
  PRIMARY KEY (Series, Model, REV, Parameter, Position)
);

-- The loader takes the rows in the order the view returns them: ascending
-- parameter index, list entries by position.
CREATE VIEW qryTabParams AS
  SELECT Series, Model, REV, Parameter, P, min, max, "default", resolution,
         Dependent, ReadOnly, Extra, ToolTipText, Description, Address
    FROM tblDriveParameters
   ORDER BY Series, Model, REV, Idx;

CREATE VIEW qryExtraData AS
  SELECT Series, Model, REV, Parameter, Setting
    FROM tblExtraData
   ORDER BY Series, Model, REV, Parameter, Position;

CREATE TABLE tblComSet (
  Code            INTEGER PRIMARY KEY,
  Port            TEXT,
  PortDefault     INTEGER NOT NULL DEFAULT 0,
  Baud            TEXT,
  BaudDefault     INTEGER NOT NULL DEFAULT 0,
  Bits            TEXT,
  Parity          TEXT,
  StopBit         TEXT,
  Description     TEXT,
  ProtocolDefault INTEGER NOT NULL DEFAULT 0,
  Address         INTEGER
);

CREATE TABLE tblOPCSevers (
  ProgID      TEXT NOT NULL PRIMARY KEY,
  Description TEXT
);

CREATE TABLE tblDBVER (
  Version     TEXT NOT NULL PRIMARY KEY,
  VerDate     TEXT,
  Notes       TEXT
);

CREATE TABLE tblCustInfo (
  RecNum      INTEGER PRIMARY KEY,
  QuickScreen INTEGER NOT NULL DEFAULT 1
);
