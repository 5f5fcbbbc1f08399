-- The two lists of Tidefetch. Column positions matter: the grids address them by
-- position. Kept in the repository; the build makes DownList.db from it and
-- stamps it with the current schema version. A column added here is also added
-- by an upgrade step in src/store/ListSchema.cpp, for the lists users already have.
CREATE TABLE DownList (
    ID               INTEGER PRIMARY KEY AUTOINCREMENT,
    Check_Box        INTEGER,
    Local_File_Name  TEXT,
    Download_Status  TEXT,
    File_Size_String TEXT,
    Speed            TEXT,
    Error_Desc       TEXT,
    Time_Left        TEXT,
    Downloaded_Bytes INTEGER,
    Sharing_Link     TEXT,
    Session_Status   TEXT,
    File_Size_Bytes  INTEGER,
    Add_Time         TEXT,
    Rapid_File_ID    TEXT,
    Rapid_File_Name  TEXT,
    Comments         TEXT,
    Category         TEXT,
    Priority         INTEGER,
    Finish_Time      TEXT,
    Partial_File     TEXT,
    Final_URL        TEXT
);
CREATE INDEX DownList_Sharing_Link ON DownList (Sharing_Link COLLATE NOCASE);

CREATE TABLE CheckList (
    ID               INTEGER PRIMARY KEY AUTOINCREMENT,
    Check_Box        INTEGER,
    Sharing_Link     TEXT,
    Status           TEXT,
    File_Name        TEXT,
    File_Size        TEXT,
    Rapid_File_ID    TEXT,
    Rapid_File_Name  TEXT,
    File_Size_Bytes  INTEGER,
    Error_Desc       TEXT,
    Final_URL        TEXT
);
CREATE INDEX CheckList_Sharing_Link ON CheckList (Sharing_Link COLLATE NOCASE);
