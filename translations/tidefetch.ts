<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1">
<context>
    <name>ClipboardWatch</name>
    <message>
        <source>Error occured while processing clipboard for RapidShare links</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Displays this help.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Displays the version.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finds and downloads files kept on the RapidShare file-hosting service.
Links given here are checked as if pasted into &quot;Add New Download&quot;; when Tidefetch
is already running, they are handed to it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A link to check.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>GridLayouts</name>
    <message>
        <source>File Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Time Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Type</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Added</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinkReader</name>
    <message>
        <source>No Supported links Found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 Link Added</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 Links Added</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LinkStore</name>
    <message>
        <source>Error occured while loading table<byte value="xd"/>
%1<byte value="xd"/>
%2<byte value="xd"/>
 Record Source:%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Link is already exist</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListLocation</name>
    <message>
        <source>%1 (not writable)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Looked for:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot create the folder %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot copy %1 to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make %1 writable</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ListSchema</name>
    <message>
        <source>The list file has no schema version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list file has schema version %1, but this Tidefetch knows versions up to %2. Please use a newer Tidefetch.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The list file could not be upgraded from schema version %1 to %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainController</name>
    <message>
        <source>Download List file is not exist, Please re-install the application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Critical Error while loading download list. re-installing application may solve this problem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Critical Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Critical Error while loading check list. re-installing application may solve this problem</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please, Select the download folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selected drive is CD ROM, Please select another folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Queue finished: %1 complete, %2 failed</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QueueCommands</name>
    <message>
        <source>Can not remove item. Download In Progress, Please Stop first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download In Progress, Please Stop first.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SearchCommands</name>
    <message>
        <source>Search text can not be empty!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>List is empty, Please search for something first</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Getting Direct Links...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking/Adding Links to check list...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SearchPageRules</name>
    <message>
        <source>Type the search text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search for &quot;%1&quot; [%2 Files Found]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search for &quot;%1&quot; failed: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Status</name>
    <message>
        <source>Queued</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Requesting File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Complete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stopped</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Checking</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UnAvailable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wait %1 Seconds</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Add New Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Folder:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download Folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the download folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Catch RapidShare Links in the clipboard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Check Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear &amp;List</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Download Available Links</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include/Exclude Complete,Waiting or Runing items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Start Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start download All/Selected items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;top Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop download All/Selected items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Filter Listed Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Clear Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Search RapidShare</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File Extension</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whenever</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 24 Hours</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 2 Months</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 4 Months</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last 6 Months </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Last Year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort By</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No Sort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size Ascending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size Descending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Ascending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Descending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Popularity Ascending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Popularity Descending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(optional)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size From</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>* leave empty to not identify the minimum size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size To</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>* leave empty to not identify the maximum size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search Results</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show results page:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show results page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous results page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Results Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add selected items as new downloads</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Add selected items And Start &amp;Download</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About Tidefetch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tidefetch finds files kept on the RapidShare file-hosting service and downloads them in batches.

Search for files and tick the hits you want, paste links into the &quot;Add New Download&quot; page, or simply copy them: every link is first checked with the service, and the available ones join the download list. The list is worked off one file at a time, a running download shows its progress as a bar, and both lists are kept between runs.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmMenu</name>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only Selected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>START</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>STOP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include Complete Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include Waiting Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include Downloading Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Complete Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Error Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Stopped Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Selected Items</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Items</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
